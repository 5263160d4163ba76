#include "platform/posix/posix_port.h"

#include <cstdint>
#include <utility>

#include "platform/posix/posix_comm_timeouts.h"
#include "platform/posix/posix_dcb.h"
#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_line_settings.h"
#include "platform/posix/posix_port_open.h"

namespace platform::posix {

std::shared_ptr<Port> Port::Create(int fd, bool overlapped, DWORD& error) {
    std::unique_ptr<IoEngine> engine = IoEngine::Start(fd, error);
    if (engine == nullptr) {
        ReleaseSerialLine(fd);
        return nullptr;
    }
    return std::shared_ptr<Port>(new Port(fd, overlapped, std::move(engine)));
}

Port::Port(int fd, bool overlapped, std::unique_ptr<IoEngine> engine)
    : KernelObject(kKind),
      fd_(fd),
      overlapped_(overlapped),
      engine_(std::move(engine)),
      dcb_(DefaultDcb()) {}

Port::~Port() {
    Close();
}

void Port::Close() {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    engine_->Stop();
    ReleaseSerialLine(fd_);
}

DWORD Port::GetState(DCB& dcb) {
    std::lock_guard lock(mutex_);
    if (closed_) return ERROR_INVALID_HANDLE;
    LineSettings line;
    if (int error = ReadLineSettings(fd_, line)) return ErrorFromErrno(error);
    dcb = WithLineSettings(dcb_, line);
    return ERROR_SUCCESS;
}

DWORD Port::SetState(const DCB& dcb) {
    if (!IsValidDcb(dcb)) return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(mutex_);
    if (closed_) return ERROR_INVALID_HANDLE;
    if (int error = WriteLineSettings(fd_, LineSettingsFromDcb(dcb))) return ErrorFromErrno(error);
    const ModemLineStates lines = ModemLinesFromDcb(dcb);
    if (lines.dtr) {
        if (int error = SetModemLine(fd_, ModemLine::Dtr, *lines.dtr)) return ErrorFromErrno(error);
    }
    if (lines.rts) {
        if (int error = SetModemLine(fd_, ModemLine::Rts, *lines.rts)) return ErrorFromErrno(error);
    }
    dcb_ = dcb;
    return ERROR_SUCCESS;
}

DWORD Port::GetTimeouts(COMMTIMEOUTS& timeouts) {
    std::lock_guard lock(mutex_);
    if (closed_) return ERROR_INVALID_HANDLE;
    timeouts = timeouts_;
    return ERROR_SUCCESS;
}

DWORD Port::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    if (!AreValidTimeouts(timeouts)) return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(mutex_);
    if (closed_) return ERROR_INVALID_HANDLE;
    timeouts_ = timeouts;
    return ERROR_SUCCESS;
}

DWORD Port::StartRead(void* data, DWORD size, CompletionRecord record, DWORD& bytesNow) {
    COMMTIMEOUTS timeouts{};
    {
        std::lock_guard lock(mutex_);
        if (closed_) return ERROR_INVALID_HANDLE;
        timeouts = timeouts_;
        // Another program that had the tty open may have changed its modes since (VMIN 0,
        // line editing): the raw modes the port opened with are put back. A line that fails
        // here fails the read itself, which reports it.
        static_cast<void>(KeepLineRaw(fd_));
    }
    // The engine refuses by itself once the port has been closed meanwhile.
    return engine_->StartRead(static_cast<std::uint8_t*>(data), size, PlanRead(timeouts, size),
                              std::move(record), bytesNow);
}

DWORD Port::StartWrite(const void* data, DWORD size, CompletionRecord record, DWORD& bytesNow) {
    COMMTIMEOUTS timeouts{};
    if (DWORD error = GetTimeouts(timeouts)) return error;
    return engine_->StartWrite(static_cast<const std::uint8_t*>(data), size,
                               PlanWrite(timeouts, size), std::move(record), bytesNow);
}

void Port::CancelFrom(std::thread::id starter) {
    engine_->CancelFrom(starter);
}

}  // namespace platform::posix
