#include <gtest/gtest.h>

#include <ostream>

#include <thread>

#include "platform/comm.h"
#include "tests/platform/posix/port_fixture.h"

namespace {

using comm_test::Outcome;
using comm_test::PortOnPty;
using comm_test::Record;

struct EventCase {
    BOOL manualReset;
    BOOL initialState;
    DWORD firstWait;
    DWORD secondWait;
};

void PrintTo(const EventCase& event, std::ostream* out) {
    *out << (event.manualReset ? "manual" : "auto") << (event.initialState ? ", set" : ", clear");
}

class EventStateTest : public testing::TestWithParam<EventCase> {};

TEST_P(EventStateTest, WaitsSeeTheStateAndAutoResetTakesTheSignal) {
    HANDLE event = platform::CreateEventA(nullptr, GetParam().manualReset, GetParam().initialState,
                                          "ignored name");
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(platform::WaitForSingleObjectEx(event, 0, FALSE), GetParam().firstWait);
    EXPECT_EQ(platform::WaitForSingleObjectEx(event, 10, TRUE), GetParam().secondWait);
    ASSERT_TRUE(platform::SetEvent(event));
    EXPECT_EQ(platform::WaitForSingleObjectEx(event, 0, FALSE), WAIT_OBJECT_0);
    EXPECT_EQ(platform::WaitForSingleObjectEx(event, 0, FALSE),
              GetParam().manualReset ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
    EXPECT_TRUE(platform::CloseHandle(event));
}

INSTANTIATE_TEST_SUITE_P(States, EventStateTest,
                         testing::Values(EventCase{TRUE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT},
                                         EventCase{TRUE, TRUE, WAIT_OBJECT_0, WAIT_OBJECT_0},
                                         EventCase{FALSE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT},
                                         EventCase{FALSE, TRUE, WAIT_OBJECT_0, WAIT_TIMEOUT}));

TEST(EventTest, SetEventWakesAnInfiniteWaitInAnotherThread) {
    HANDLE event = platform::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    DWORD result = WAIT_FAILED;
    std::thread waiter([&] { result = platform::WaitForSingleObjectEx(event, INFINITE, TRUE); });
    ASSERT_TRUE(platform::SetEvent(event));
    waiter.join();
    EXPECT_EQ(result, WAIT_OBJECT_0);
    platform::CloseHandle(event);
}

TEST(EventTest, SleepExReturnsZero) {
    EXPECT_EQ(platform::SleepEx(1, TRUE), 0u);
    EXPECT_EQ(platform::SleepEx(0, FALSE), 0u);
}

TEST_F(PortOnPty, ImmediateCompletionFillsTheRecordAndSignals) {
    Record& write = NewRecord();
    const Outcome done = StartWrite(write, "VER\r");
    ASSERT_TRUE(done.ok) << done.error;
    EXPECT_EQ(done.bytes, 4u);
    EXPECT_TRUE(write.WaitDone(0));
    EXPECT_EQ(write.ov.Internal, 0u);
    EXPECT_EQ(write.ov.InternalHigh, 4u);
}

TEST_F(PortOnPty, PendingRecordSaysSoUntilComplete) {
    char buffer[4];
    Record& read = NewRecord();
    ASSERT_EQ(StartRead(read, buffer, sizeof buffer).error, ERROR_IO_PENDING);
    EXPECT_TRUE(read.Pending());
    EXPECT_FALSE(read.WaitDone(0));
    DWORD bytes = 0;
    EXPECT_FALSE(platform::GetOverlappedResult(port_, &read.ov, &bytes, FALSE));
    EXPECT_EQ(platform::GetLastError(), ERROR_IO_INCOMPLETE);
    ASSERT_TRUE(pty_.Write("DONE"));
    ASSERT_TRUE(platform::GetOverlappedResult(port_, &read.ov, &bytes, TRUE));
    EXPECT_EQ(bytes, 4u);
    EXPECT_EQ(read.ov.InternalHigh, 4u);
    EXPECT_TRUE(read.WaitDone(0));
}

// The reader's wake-up event doubles as the record's event: a stop request that signals it must
// not end the wait for the read.
TEST_F(PortOnPty, ResultWaitIgnoresAStraySignalOfTheEvent) {
    OVERLAPPED& record = NewRecord().ov;
    platform::CloseHandle(record.hEvent);
    record.hEvent = platform::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    char buffer[4] = {};
    DWORD started = 0;
    ASSERT_FALSE(platform::ReadFile(port_, buffer, sizeof buffer, &started, &record));
    ASSERT_EQ(platform::GetLastError(), ERROR_IO_PENDING);

    BOOL ok = FALSE;
    DWORD bytes = 0;
    std::thread waiter([&] { ok = platform::GetOverlappedResult(port_, &record, &bytes, TRUE); });
    ASSERT_TRUE(platform::SetEvent(record.hEvent));
    ASSERT_TRUE(pty_.Write("LATE"));
    waiter.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(bytes, 4u);
    EXPECT_EQ(std::string(buffer, 4), "LATE");
}

TEST_F(PortOnPty, RecordWithoutEventCompletesToo) {
    OVERLAPPED record{};
    char buffer[3] = {};
    DWORD bytes = 0;
    ASSERT_FALSE(platform::ReadFile(port_, buffer, sizeof buffer, &bytes, &record));
    ASSERT_EQ(platform::GetLastError(), ERROR_IO_PENDING);
    ASSERT_TRUE(pty_.Write("abc"));
    EXPECT_TRUE(platform::GetOverlappedResult(port_, &record, &bytes, TRUE));
    EXPECT_EQ(bytes, 3u);
    EXPECT_EQ(std::string(buffer, 3), "abc");
}

}  // namespace
