// The serial port calls on POSIX: opening and closing, settings and time-outs, reads, writes and
// their completion records, and cancelling.
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/comm.h"
#include "platform/linux/linux_ports.h"
#include "platform/port_sources.h"
#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_event.h"
#include "platform/posix/posix_handles.h"
#include "platform/posix/posix_overlapped.h"
#include "platform/posix/posix_port.h"
#include "platform/posix/posix_port_open.h"

namespace platform {

namespace {

using posix::Fail;

HANDLE FailOpen(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// Runs one read or write. On an overlapped port it completes `overlapped` now or later; on a
// plain port the call waits for the operation with a record of its own (a record given there is
// not used) and gives its outcome.
template <class StartOperation>
BOOL Transfer(posix::Port& port, DWORD* bytes, OVERLAPPED* overlapped, StartOperation start) {
    if (bytes != nullptr) *bytes = 0;
    DWORD bytesNow = 0;
    if (port.Overlapped()) {
        if (overlapped == nullptr) return Fail(ERROR_INVALID_PARAMETER);
        std::shared_ptr<posix::Event> event;
        if (!posix::FindRecordEvent(*overlapped, event)) return Fail(ERROR_INVALID_HANDLE);
        const DWORD error = start(posix::CompletionRecord(overlapped, std::move(event)), bytesNow);
        if (error != ERROR_SUCCESS) return Fail(error);
        if (bytes != nullptr) *bytes = bytesNow;
        return TRUE;
    }

    OVERLAPPED own{};
    auto event = std::make_shared<posix::Event>(true, false);
    DWORD error = start(posix::CompletionRecord(&own, event), bytesNow);
    if (error == ERROR_IO_PENDING) {
        const posix::RecordOutcome outcome = posix::ReadRecord(own, event.get(), true, false);
        error = outcome.error;
        bytesNow = outcome.bytes;
    }
    if (bytes != nullptr) *bytes = bytesNow;
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

}  // namespace

// "\\.\COM<n>", "COM<n>", "\\.\/dev/..." or an absolute path. Only FILE_FLAG_OVERLAPPED of the
// flags counts; the port is always opened for reading and writing and never shared.
HANDLE CreateFileA(const char* fileName, DWORD /*desiredAccess*/, DWORD /*shareMode*/,
                   void* /*securityAttributes*/, DWORD /*creationDisposition*/,
                   DWORD flagsAndAttributes, HANDLE /*templateFile*/) {
    if (fileName == nullptr) return FailOpen(ERROR_INVALID_PARAMETER);
    const std::optional<std::string> path = ResolvePortName(fileName, ConfiguredPortSources());
    if (!path) return FailOpen(ERROR_FILE_NOT_FOUND);
    const posix::OpenedLine line = posix::OpenSerialLine(*path);
    if (line.fd < 0) return FailOpen(line.error);

    DWORD error = ERROR_SUCCESS;
    std::shared_ptr<posix::Port> port =
        posix::Port::Create(line.fd, (flagsAndAttributes & FILE_FLAG_OVERLAPPED) != 0, error);
    if (port == nullptr) return FailOpen(error);
    SetLastError(ERROR_SUCCESS);
    return posix::RegisterHandle(std::move(port));
}

BOOL CloseHandle(HANDLE object) {
    std::shared_ptr<posix::KernelObject> closed = posix::UnregisterHandle(object);
    if (closed == nullptr) return Fail(ERROR_INVALID_HANDLE);
    if (closed->ObjectKind() == posix::Port::kKind) static_cast<posix::Port&>(*closed).Close();
    return TRUE;
}

BOOL GetCommState(HANDLE port, DCB* dcb) {
    std::shared_ptr<posix::Port> object = posix::FindHandleOf<posix::Port>(port);
    if (object == nullptr) return Fail(ERROR_INVALID_HANDLE);
    if (dcb == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const DWORD error = object->GetState(*dcb);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

BOOL SetCommState(HANDLE port, DCB* dcb) {
    std::shared_ptr<posix::Port> object = posix::FindHandleOf<posix::Port>(port);
    if (object == nullptr) return Fail(ERROR_INVALID_HANDLE);
    if (dcb == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const DWORD error = object->SetState(*dcb);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) {
    std::shared_ptr<posix::Port> object = posix::FindHandleOf<posix::Port>(port);
    if (object == nullptr) return Fail(ERROR_INVALID_HANDLE);
    if (timeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const DWORD error = object->GetTimeouts(*timeouts);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) {
    std::shared_ptr<posix::Port> object = posix::FindHandleOf<posix::Port>(port);
    if (object == nullptr) return Fail(ERROR_INVALID_HANDLE);
    if (timeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const DWORD error = object->SetTimeouts(*timeouts);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

BOOL ReadFile(HANDLE port, void* buffer, DWORD bytesToRead, DWORD* bytesRead,
              OVERLAPPED* overlapped) {
    std::shared_ptr<posix::Port> object = posix::FindHandleOf<posix::Port>(port);
    if (object == nullptr) return Fail(ERROR_INVALID_HANDLE);
    if (buffer == nullptr && bytesToRead > 0) return Fail(ERROR_INVALID_PARAMETER);
    return Transfer(*object, bytesRead, overlapped,
                    [&](posix::CompletionRecord record, DWORD& bytesNow) {
                        return object->StartRead(buffer, bytesToRead, std::move(record), bytesNow);
                    });
}

BOOL WriteFile(HANDLE port, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               OVERLAPPED* overlapped) {
    std::shared_ptr<posix::Port> object = posix::FindHandleOf<posix::Port>(port);
    if (object == nullptr) return Fail(ERROR_INVALID_HANDLE);
    if (buffer == nullptr && bytesToWrite > 0) return Fail(ERROR_INVALID_PARAMETER);
    return Transfer(
        *object, bytesWritten, overlapped, [&](posix::CompletionRecord record, DWORD& bytesNow) {
            return object->StartWrite(buffer, bytesToWrite, std::move(record), bytesNow);
        });
}

// Needs only the record, so it also serves operations whose port has been closed since.
BOOL GetOverlappedResult(HANDLE /*port*/, OVERLAPPED* overlapped, DWORD* bytesTransferred,
                         BOOL wait) {
    if (overlapped == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    std::shared_ptr<posix::Event> event;
    if (!posix::FindRecordEvent(*overlapped, event)) return Fail(ERROR_INVALID_HANDLE);
    const posix::RecordOutcome outcome =
        posix::ReadRecord(*overlapped, event.get(), wait != FALSE, true);
    if (!outcome.finished) return Fail(ERROR_IO_INCOMPLETE);
    if (bytesTransferred != nullptr) *bytesTransferred = outcome.bytes;
    return outcome.error == ERROR_SUCCESS ? TRUE : Fail(outcome.error);
}

BOOL CancelIo(HANDLE port) {
    std::shared_ptr<posix::Port> object = posix::FindHandleOf<posix::Port>(port);
    if (object == nullptr) return Fail(ERROR_INVALID_HANDLE);
    object->CancelFrom(std::this_thread::get_id());
    return TRUE;
}

}  // namespace platform
