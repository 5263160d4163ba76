// A serial port object behind a HANDLE: the open line, the settings last set on it, its time-outs
// and the engine that performs its reads and writes.
#pragma once

#include <memory>
#include <mutex>
#include <thread>

#include "platform/posix/posix_handles.h"
#include "platform/posix/posix_io_engine.h"
#include "platform/posix/posix_overlapped.h"
#include "platform/win32_types.h"

namespace platform::posix {

class Port : public KernelObject {
public:
    static constexpr Kind kKind = Kind::Port;

    // Takes over `fd`, a line opened by OpenSerialLine; nothing and `error` when the port could
    // not start (the line is released then).
    static std::shared_ptr<Port> Create(int fd, bool overlapped, DWORD& error);
    ~Port() override;

    bool Overlapped() const { return overlapped_; }

    // Each gives 0 or a system error code.
    DWORD GetState(DCB& dcb);
    // Checks every value first: an invalid record changes nothing.
    DWORD SetState(const DCB& dcb);
    DWORD GetTimeouts(COMMTIMEOUTS& timeouts);
    DWORD SetTimeouts(const COMMTIMEOUTS& timeouts);

    // As IoEngine's, with the port's time-outs as they are when the operation starts.
    DWORD StartRead(void* data, DWORD size, CompletionRecord record, DWORD& bytesNow);
    DWORD StartWrite(const void* data, DWORD size, CompletionRecord record, DWORD& bytesNow);
    void CancelFrom(std::thread::id starter);

    // Aborts what is in progress, waits until nothing touches a caller's buffer or record any
    // more and releases the line. Operations on the object fail with ERROR_INVALID_HANDLE then.
    void Close();

private:
    Port(int fd, bool overlapped, std::unique_ptr<IoEngine> engine);

    const int fd_;
    const bool overlapped_;
    std::unique_ptr<IoEngine> engine_;
    std::mutex mutex_;  // the settings and the line's life
    bool closed_ = false;
    DCB dcb_;
    COMMTIMEOUTS timeouts_{};
};

}  // namespace platform::posix
