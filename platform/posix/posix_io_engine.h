// Reads and writes on one open tty. An operation completes within the call when it can;
// otherwise it goes on in the port's service thread, which polls the line and a wake-up
// descriptor with millisecond time-outs and completes the operation's record when it is done.
// One read at a time; writes queue and complete in order. Every access to a caller's buffer or
// record happens under the engine's lock, and none after the record is complete.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/posix/posix_comm_timeouts.h"
#include "platform/posix/posix_overlapped.h"
#include "platform/win32_types.h"

namespace platform::posix {

class IoEngine {
public:
    // Serves `fd` (which stays the caller's); nothing and `error` when it could not start.
    static std::unique_ptr<IoEngine> Start(int fd, DWORD& error);
    IoEngine(const IoEngine&) = delete;
    IoEngine& operator=(const IoEngine&) = delete;
    ~IoEngine();

    // Each gives 0 when the operation completed within the call (its count in `bytesNow`,
    // `record` complete), ERROR_IO_PENDING when it goes on, or the code it failed with at once
    // (the record untouched). A read while another is in progress fails with
    // ERROR_INVALID_PARAMETER; after a hang-up reads and writes fail with
    // ERROR_DEVICE_NOT_CONNECTED.
    DWORD StartRead(std::uint8_t* data, DWORD size, const ReadPlan& plan, CompletionRecord record,
                    DWORD& bytesNow);
    DWORD StartWrite(const std::uint8_t* data, DWORD size, std::optional<std::uint64_t> totalMs,
                     CompletionRecord record, DWORD& bytesNow);

    // Completes the operations that `starter` started with ERROR_OPERATION_ABORTED.
    void CancelFrom(std::thread::id starter);

    // Completes every operation with ERROR_OPERATION_ABORTED and returns once the service thread
    // has ended; later operations fail with ERROR_INVALID_HANDLE.
    void Stop();

private:
    using Clock = std::chrono::steady_clock;

    struct Request {
        std::uint8_t* readInto = nullptr;         // reads
        const std::uint8_t* writeFrom = nullptr;  // writes
        DWORD size = 0;
        DWORD done = 0;
        CompletionRecord record;
        std::thread::id starter = std::this_thread::get_id();
        ReadPlan plan{};                         // reads
        std::optional<std::uint64_t> totalMs{};  // writes: from the moment it is first in line
        bool active = false;                     // writes: first in line, its clock running
        Clock::time_point started{};
        Clock::time_point lastByte{};
        std::optional<Clock::time_point> deadline{};  // the total time-out's end
    };
    enum class Transfer { Moved, Nothing, HungUp, Failed };

    IoEngine(int fd, int wakeFd);
    void Serve();
    void Wake();
    void DrainWake();
    int PollTimeout(Clock::time_point now) const;

    Transfer Pull(Request& read, int& error);
    Transfer Push(Request& write, int& error);
    bool ReadIsDone(const Request& read, Clock::time_point now) const;
    void ServeRead(short revents);
    void ServeWrites(short revents);
    void Activate(Request& write, Clock::time_point now);
    void HangUp();
    void Finish(Request& request, DWORD error, DWORD bytes);
    void FinishRead(DWORD error);
    void AbortWhere(bool (*matches)(const Request&, std::thread::id), std::thread::id starter);

    const int fd_;
    const int wakeFd_;
    std::mutex mutex_;
    bool stopped_ = false;
    bool hungUp_ = false;
    std::unique_ptr<Request> read_;
    std::deque<Request> writes_;
    std::thread service_;
};

}  // namespace platform::posix
