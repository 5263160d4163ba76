#include "serial/read_serial_thread.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/comm.h"

namespace {

constexpr DWORD kLongestRetryWaitMs = 1000;

// The port was closed under the read, or just before it started.
bool EndedByClosing(DWORD error) {
    return error == ERROR_OPERATION_ABORTED || error == ERROR_INVALID_HANDLE;
}

}  // namespace

// What starting one read gave.
struct ReadSerialThread::ReadOutcome {
    enum Kind { Stopped, NoPort, Completed, Pending, Failed } kind;
    HANDLE handle;
    DWORD error;
};

ReadSerialThread::ReadSerialThread(HANDLE* portHandleSlot, OVERLAPPED* completion,
                                   std::int32_t timeout, LineReceivedCallback lineCallback)
    : portHandleSlot_(portHandleSlot),
      completion_(completion),
      timeout_(timeout),
      lineCallback_(std::move(lineCallback)) {
    if (completion_ != nullptr) {
        wakeEvent_ = platform::CreateEventA(nullptr, FALSE, FALSE, nullptr);
        // The system's own event for the reads: waiting for a read's end waits on it, so a
        // wake-up must never signal it, or the wait would end while the read goes on.
        completionEvent_ = platform::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        completion_->hEvent = completionEvent_;
    }
    SetFreeOnTerminate(true);
}

ReadSerialThread::~ReadSerialThread() {
    if (wakeEvent_ != nullptr) platform::CloseHandle(wakeEvent_);
    if (completionEvent_ != nullptr) platform::CloseHandle(completionEvent_);
}

void ReadSerialThread::SetCallback(LineReceivedCallback lineCallback) {
    lineCallback_ = std::move(lineCallback);
}

void ReadSerialThread::SetReadFailureCallback(ReadFailureCallback readFailureCallback) {
    readFailureCallback_ = std::move(readFailureCallback);
}

void ReadSerialThread::OnTerminateRequested() {
    WakeUp();
}

void ReadSerialThread::WakeUp() {
    if (wakeEvent_ != nullptr) platform::SetEvent(wakeEvent_);
}

ReadSerialThread::ReadOutcome ReadSerialThread::StartRead() {
    ReadOutcome outcome{ReadOutcome::NoPort, INVALID_HANDLE_VALUE, 0};
    const bool ran = Step([&] {
        std::memset(receiveBuffer_, 0, sizeof receiveBuffer_);
        outcome.handle = *portHandleSlot_;
        if (outcome.handle == INVALID_HANDLE_VALUE) return;
        if (platform::ReadFile(outcome.handle, receiveBuffer_, sizeof receiveBuffer_, &bytesRead_,
                               completion_)) {
            outcome.kind = ReadOutcome::Completed;
            return;
        }
        outcome.error = platform::GetLastError();
        outcome.kind =
            outcome.error == ERROR_IO_PENDING ? ReadOutcome::Pending : ReadOutcome::Failed;
    });
    if (!ran) outcome.kind = ReadOutcome::Stopped;
    return outcome;
}

void ReadSerialThread::Execute() {
    const DWORD timeout = static_cast<DWORD>(std::max<std::int32_t>(timeout_, 0));
    while (!Terminated()) {
        const ReadOutcome outcome = StartRead();
        switch (outcome.kind) {
            case ReadOutcome::Stopped:
                return;
            case ReadOutcome::NoPort:
                platform::SleepEx(timeout, TRUE);
                continue;
            case ReadOutcome::Pending: {
                platform::WaitForSingleObjectEx(wakeEvent_, timeout, TRUE);
                // A read ended by closing the port gives 0 bytes: an empty read. One that ended
                // in another error without a byte is a failed read: on Windows a device that
                // vanishes may fail each new read only once it is pending.
                const bool ended = platform::GetOverlappedResult(outcome.handle, completion_,
                                                                 &bytesRead_, TRUE) != FALSE;
                const DWORD error = ended ? ERROR_SUCCESS : platform::GetLastError();
                if (!ended && bytesRead_ == 0 && !EndedByClosing(error)) {
                    if (Terminated()) return;
                    ReportFailedRead(error);
                    platform::WaitForSingleObjectEx(wakeEvent_, retryWait_, TRUE);
                    continue;
                }
            }
                [[fallthrough]];
            case ReadOutcome::Completed:
                if (Terminated()) return;
                reportedError_ = 0;
                HandOver();
                continue;
            case ReadOutcome::Failed:
                if (EndedByClosing(outcome.error)) {
                    // A plain read ended by closing the port, or started on a handle just
                    // closed: the port is being closed, and that read is an empty read, handed
                    // over once the port is open again.
                    platform::WaitForSingleObjectEx(wakeEvent_, timeout, TRUE);
                    if (Terminated()) return;
                    bytesRead_ = 0;
                    HandOver();
                    continue;
                }
                ReportFailedRead(outcome.error);
                // A lasting error (a pulled adapter) is retried, never spun on (see
                // ReportFailedRead for how often); opening the port again cuts the wait short.
                platform::WaitForSingleObjectEx(wakeEvent_, retryWait_, TRUE);
                continue;
        }
    }
}

void ReadSerialThread::ReportFailedRead(DWORD code) {
    // The same error is reported once until a read succeeds or the port was opened again. It is
    // retried at the read pace at first and then half as often each time, down to once a
    // second: a vanished device must not keep waking the reader twenty times a second.
    const std::uint64_t releases = ReleaseCount();
    if (code == reportedError_ && releases == releasesAtReport_) {
        retryWait_ = std::max(retryWait_, std::min<DWORD>(retryWait_ * 2, kLongestRetryWaitMs));
        return;
    }
    reportedError_ = code;
    releasesAtReport_ = releases;
    retryWait_ = static_cast<DWORD>(std::max<std::int32_t>(timeout_, 1));

    char* text = nullptr;
    const DWORD length =
        platform::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                 nullptr, code, 0x0400, reinterpret_cast<char*>(&text), 0, nullptr);
    std::memset(receiveBuffer_, 0, sizeof receiveBuffer_);
    const std::size_t copied = std::min<std::size_t>(length, sizeof receiveBuffer_);
    if (text != nullptr) {
        std::memcpy(receiveBuffer_, text, copied);
        platform::LocalFree(text);
    }
    bytesRead_ = static_cast<DWORD>(text != nullptr ? copied : 0);
    Synchronize([this, code] {
        if (readFailureCallback_) readFailureCallback_(code);
        ShowTransmission();
    });
}

void ReadSerialThread::HandOver() {
    Synchronize([this] { ShowTransmission(); });
}

void ReadSerialThread::ShowTransmission() {
    assembler_.Assemble(receiveBuffer_, bytesRead_, lineCallback_);
}
