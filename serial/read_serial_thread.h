// The background reader of one serial port: reads through the port object's current handle and
// hands every completed read to the window thread, where it is cut into lines.
#pragma once

#include <cstdint>

#include "platform/thread.h"
#include "platform/win32_types.h"
#include "serial/line_assembler.h"
#include "serial/port_settings.h"

class ReadSerialThread : public platform::Thread {
public:
    // Created held; frees itself when its body returns. The handle slot and the completion record
    // belong to the port object, which keeps them in place while the reader can run.
    ReadSerialThread(HANDLE* portHandleSlot, OVERLAPPED* completion, std::int32_t timeout,
                     LineReceivedCallback lineCallback);
    ~ReadSerialThread() override;

    // Window thread only; the next line delivered goes to the new callback.
    void SetCallback(LineReceivedCallback lineCallback);
    // Window thread only; none at first.
    void SetReadFailureCallback(ReadFailureCallback readFailureCallback);
    // Cuts short a rest between reads (after a failed read, or with no port), so the next read
    // starts at once.
    void WakeUp();

protected:
    void Execute() override;
    void OnTerminateRequested() override;

private:
    struct ReadOutcome;
    ReadOutcome StartRead();
    void ReportFailedRead(DWORD code);
    void HandOver();
    void ShowTransmission();  // window thread, through the hand-over

    HANDLE wakeEvent_ = nullptr;
    HANDLE completionEvent_ = nullptr;
    HANDLE* portHandleSlot_;
    OVERLAPPED* completion_;
    std::int32_t timeout_;
    LineReceivedCallback lineCallback_;
    ReadFailureCallback readFailureCallback_;
    std::uint8_t receiveBuffer_[LineAssembler::kReadSize] = {};
    DWORD bytesRead_ = 0;
    LineAssembler assembler_;

    // The failed-read code last reported, so a lasting error is reported once; 0 for none.
    DWORD reportedError_ = 0;
    std::uint64_t releasesAtReport_ = 0;
    DWORD retryWait_ = 0;  // milliseconds until a failed read is tried again
};
