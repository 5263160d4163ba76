// A port opened through the backend on a fresh pseudo-terminal, and completion records that
// outlive the port: the fixture closes the port before any record goes away.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "platform/comm.h"
#include "tests/support/pty_device.h"

namespace comm_test {

// An OVERLAPPED with a manual-reset event of its own.
struct Record {
    Record();
    ~Record();
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    // True once the operation is complete; waits for it up to `ms`.
    bool WaitDone(DWORD ms = 10000);
    // True while the operation is in progress, without waiting.
    bool Pending();

    OVERLAPPED ov{};
};

// What an operation came to, or how starting it went.
struct Outcome {
    BOOL ok;
    DWORD error;  // the last error when !ok
    DWORD bytes;
};

class PortOnPty : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HANDLE Open(DWORD flags);
    void SetTimeouts(DWORD interval, DWORD multiplier, DWORD constant, DWORD writeMultiplier = 0,
                     DWORD writeConstant = 0);
    Record& NewRecord() { return records_.emplace_back(); }

    Outcome StartRead(Record& record, char* buffer, DWORD size);
    Outcome StartWrite(Record& record, const std::string& bytes);
    // Waits for the operation's end without a limit of its own; the test's time-out catches a hang.
    Outcome Finish(Record& record);

    qdax_test::PtyDevice pty_;
    HANDLE port_ = INVALID_HANDLE_VALUE;

private:
    std::deque<Record> records_;
};

}  // namespace comm_test
