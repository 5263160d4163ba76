#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/comm.h"
#include "tests/platform/posix/port_fixture.h"
#include "tests/support/thread_switches.h"

namespace {

using comm_test::Outcome;
using comm_test::PortOnPty;
using comm_test::Record;

TEST_F(PortOnPty, CloseEndsAPendingReadWithNoBytes) {
    char buffer[255];
    Record& read = NewRecord();
    ASSERT_EQ(StartRead(read, buffer, sizeof buffer).error, ERROR_IO_PENDING);
    ASSERT_TRUE(platform::CloseHandle(port_));
    HANDLE closed = port_;
    port_ = INVALID_HANDLE_VALUE;
    EXPECT_TRUE(read.WaitDone(0));  // over by the time the close returned

    DWORD bytes = 99;
    EXPECT_FALSE(platform::GetOverlappedResult(closed, &read.ov, &bytes, TRUE));
    EXPECT_EQ(platform::GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_EQ(bytes, 0u);
}

TEST_F(PortOnPty, CloseAbortsPendingWrites) {
    const std::string bytes(256 * 1024, 'x');
    Record& first = NewRecord();
    Record& second = NewRecord();
    ASSERT_EQ(StartWrite(first, bytes).error, ERROR_IO_PENDING);
    ASSERT_EQ(StartWrite(second, "more").error, ERROR_IO_PENDING);
    ASSERT_TRUE(platform::CloseHandle(port_));
    for (Record* write : {&first, &second}) {
        const Outcome aborted = Finish(*write);
        EXPECT_FALSE(aborted.ok);
        EXPECT_EQ(aborted.error, ERROR_OPERATION_ABORTED);
        EXPECT_EQ(aborted.bytes, 0u);
    }
    port_ = INVALID_HANDLE_VALUE;
}

TEST_F(PortOnPty, CloseFromAnotherThreadEndsABlockedPlainRead) {
    platform::CloseHandle(port_);
    port_ = Open(FILE_ATTRIBUTE_NORMAL);
    ASSERT_NE(port_, INVALID_HANDLE_VALUE);
    std::atomic<pid_t> readerTid{0};
    BOOL ok = TRUE;
    DWORD error = 0;
    std::thread reader([&] {
        char buffer[16];
        DWORD bytes = 0;
        readerTid = static_cast<pid_t>(syscall(SYS_gettid));
        ok = platform::ReadFile(port_, buffer, sizeof buffer, &bytes, nullptr);
        error = platform::GetLastError();
    });
    while (readerTid == 0) std::this_thread::yield();
    ASSERT_TRUE(qdax_test::BecomesBlocked(readerTid));
    ASSERT_TRUE(platform::CloseHandle(port_));
    reader.join();
    port_ = INVALID_HANDLE_VALUE;
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, ERROR_OPERATION_ABORTED);
}

TEST_F(PortOnPty, HangUpFailsTheReadAndEveryLaterOneAtOnce) {
    char buffer[255];
    Record& read = NewRecord();
    ASSERT_EQ(StartRead(read, buffer, sizeof buffer).error, ERROR_IO_PENDING);
    pty_.CloseMaster();
    const Outcome failed = Finish(read);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.error, ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(failed.bytes, 0u);

    for (int attempt = 0; attempt < 3; ++attempt) {
        const Outcome again = StartRead(NewRecord(), buffer, sizeof buffer);
        EXPECT_FALSE(again.ok);
        EXPECT_EQ(again.error, ERROR_DEVICE_NOT_CONNECTED);  // not pending: at once
    }
    const Outcome write = StartWrite(NewRecord(), "VER\r");
    EXPECT_FALSE(write.ok);
    EXPECT_EQ(write.error, ERROR_DEVICE_NOT_CONNECTED);
}

// Another program can set VMIN to 0, and then a read without data gives 0 as a hang-up does.
// Set while a read waits, it must not turn the end of the first line into a hang-up.
TEST_F(PortOnPty, ReadOfNothingWithVminZeroIsNoHangUp) {
    SetTimeouts(50, 0, 0);
    char buffer[255];
    Record& first = NewRecord();
    ASSERT_EQ(StartRead(first, buffer, sizeof buffer).error, ERROR_IO_PENDING);
    termios line{};
    ASSERT_EQ(tcgetattr(pty_.MasterFd(), &line), 0);  // the slave's modes, through its master
    line.c_cc[VMIN] = 0;
    ASSERT_EQ(tcsetattr(pty_.MasterFd(), TCSANOW, &line), 0);

    ASSERT_TRUE(pty_.Write("first\r\n"));
    const Outcome got = Finish(first);
    ASSERT_TRUE(got.ok) << got.error;
    EXPECT_EQ(std::string(buffer, got.bytes), "first\r\n");

    ASSERT_TRUE(pty_.Write("second\r\n"));
    Record& second = NewRecord();
    const Outcome started = StartRead(second, buffer, sizeof buffer);
    ASSERT_TRUE(started.ok || started.error == ERROR_IO_PENDING) << started.error;
    const Outcome next = started.ok ? started : Finish(second);
    ASSERT_TRUE(next.ok) << next.error;
    EXPECT_EQ(std::string(buffer, next.bytes), "second\r\n");
}

// A pseudo-terminal has no transmitter and no closing_wait: its close neither waits for a
// device that stopped reading nor drops what the line took. (What does not fit its reader's 4 KiB
// queue waits in the kernel until the reader comes back.)
TEST_F(PortOnPty, CloseKeepsEveryByteTheLineTookFromADeviceThatStoppedReading) {
    const std::string bytes(8 * 1024, 'u');
    const Outcome sent = StartWrite(NewRecord(), bytes);
    ASSERT_TRUE(sent.ok) << sent.error;  // all of it taken by the line at once
    ASSERT_TRUE(platform::CloseHandle(port_));
    port_ = INVALID_HANDLE_VALUE;

    const std::string arrived = pty_.Read(bytes.size());
    EXPECT_EQ(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes);
}

// Each command written just before a close reaches the device whole, however soon the close.
TEST_F(PortOnPty, ALineWrittenJustBeforeTheCloseArrivesWhole) {
    std::string expected;
    for (int i = 0; i < 500; ++i) {
        if (port_ == INVALID_HANDLE_VALUE) port_ = Open(FILE_FLAG_OVERLAPPED);
        ASSERT_NE(port_, INVALID_HANDLE_VALUE);
        const std::string command = "C" + std::to_string(i) + "\r";
        ASSERT_TRUE(StartWrite(NewRecord(), command).ok);
        ASSERT_TRUE(platform::CloseHandle(port_));
        port_ = INVALID_HANDLE_VALUE;
        expected += command;
    }
    const std::string arrived = pty_.Read(expected.size());
    EXPECT_EQ(arrived.size(), expected.size()) << "lines were lost at a close";
    EXPECT_TRUE(arrived == expected);
}

TEST_F(PortOnPty, ReadAfterAnUnseenHangUpFailsAtOnce) {
    pty_.CloseMaster();
    char buffer[255];
    const Outcome failed = StartRead(NewRecord(), buffer, sizeof buffer);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.error, ERROR_DEVICE_NOT_CONNECTED);
}

TEST_F(PortOnPty, CancelIoEndsOnlyTheCallingThreadsOperations) {
    char buffer[255];
    Record& read = NewRecord();
    Record& cancelledWrite = NewRecord();
    Record& otherWrite = NewRecord();
    ASSERT_EQ(StartRead(read, buffer, sizeof buffer).error, ERROR_IO_PENDING);
    const std::string bytes(256 * 1024, 'c');
    std::thread canceller([&] {
        EXPECT_EQ(StartWrite(cancelledWrite, bytes).error, ERROR_IO_PENDING);
        EXPECT_TRUE(platform::CancelIo(port_));
    });
    canceller.join();
    const Outcome aborted = Finish(cancelledWrite);
    EXPECT_FALSE(aborted.ok);
    EXPECT_EQ(aborted.error, ERROR_OPERATION_ABORTED);
    EXPECT_TRUE(read.Pending());  // started by this thread, not by the canceller

    std::thread writer([&] { EXPECT_EQ(StartWrite(otherWrite, bytes).error, ERROR_IO_PENDING); });
    writer.join();
    ASSERT_TRUE(platform::CancelIo(port_));
    const Outcome cancelled = Finish(read);
    EXPECT_FALSE(cancelled.ok);
    EXPECT_EQ(cancelled.error, ERROR_OPERATION_ABORTED);
    EXPECT_EQ(cancelled.bytes, 0u);
    EXPECT_TRUE(otherWrite.Pending());  // another thread's write is not touched

    // The read slot is free again.
    Record& next = NewRecord();
    ASSERT_EQ(StartRead(next, buffer, 2).error, ERROR_IO_PENDING);
    ASSERT_TRUE(pty_.Write("ok"));
    EXPECT_EQ(Finish(next).bytes, 2u);
}

}  // namespace
