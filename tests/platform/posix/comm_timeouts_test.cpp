#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/comm.h"
#include "tests/platform/posix/port_fixture.h"

namespace {

using comm_test::Outcome;
using comm_test::Record;

class TimeoutsTest : public comm_test::PortOnPty {
protected:
    // Starts a read into buffer_ that must go on in the background.
    Record& StartPendingRead(DWORD size) {
        Record& read = NewRecord();
        const Outcome started = StartRead(read, buffer_, size);
        EXPECT_FALSE(started.ok);
        EXPECT_EQ(started.error, ERROR_IO_PENDING);
        return read;
    }
    std::string Got(const Outcome& outcome) const { return std::string(buffer_, outcome.bytes); }

    char buffer_[255] = {};
};

TEST_F(TimeoutsTest, IntervalCountsTheSilenceAfterTheLastByte) {
    SetTimeouts(1000, 0, 0);
    Record& read = StartPendingRead(255);
    ASSERT_TRUE(pty_.Write("OK"));
    ASSERT_TRUE(pty_.Write("\r\n"));
    EXPECT_TRUE(read.Pending());  // the bytes are in, the silence has not passed yet
    const Outcome done = Finish(read);
    ASSERT_TRUE(done.ok) << done.error;
    EXPECT_EQ(Got(done), "OK\r\n");
}

TEST_F(TimeoutsTest, IntervalDoesNotRunBeforeTheFirstByte) {
    SetTimeouts(50, 0, 0);
    Record& read = StartPendingRead(255);
    EXPECT_FALSE(read.WaitDone(500));  // ten intervals without a byte: still waiting
    ASSERT_TRUE(pty_.Write("OK\r\n"));
    const Outcome done = Finish(read);
    ASSERT_TRUE(done.ok);
    EXPECT_EQ(Got(done), "OK\r\n");
}

TEST_F(TimeoutsTest, TotalTimeoutEndsAReadWithNothing) {
    SetTimeouts(0, 0, 200);
    Record& read = StartPendingRead(255);
    const Outcome done = Finish(read);
    EXPECT_TRUE(done.ok);
    EXPECT_EQ(done.bytes, 0u);
}

TEST_F(TimeoutsTest, TotalTimeoutEndsAReadWithWhatCame) {
    SetTimeouts(0, 2, 500);  // 255 * 2 + 500 ms
    ASSERT_TRUE(pty_.Write("AB"));
    Record& read = NewRecord();
    const Outcome started = StartRead(read, buffer_, 255);
    ASSERT_FALSE(started.ok);
    ASSERT_EQ(started.error, ERROR_IO_PENDING);
    const Outcome done = Finish(read);
    EXPECT_TRUE(done.ok);
    EXPECT_EQ(Got(done), "AB");
}

TEST_F(TimeoutsTest, MaxdwordIntervalAloneReturnsAtOnceWithWhatIsThere) {
    SetTimeouts(MAXDWORD, 0, 0);
    Record& empty = NewRecord();
    const Outcome nothing = StartRead(empty, buffer_, 255);
    ASSERT_TRUE(nothing.ok) << nothing.error;
    EXPECT_EQ(nothing.bytes, 0u);
    EXPECT_TRUE(empty.WaitDone(0));

    ASSERT_TRUE(pty_.Write("XYZ"));
    std::string got;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (got.size() < 3 && std::chrono::steady_clock::now() < giveUp) {
        Record& read = NewRecord();
        const Outcome some = StartRead(read, buffer_, 255);
        ASSERT_TRUE(some.ok) << some.error;  // never pending
        got += Got(some);
    }
    EXPECT_EQ(got, "XYZ");
}

TEST_F(TimeoutsTest, MaxdwordMaxdwordConstantEndsAtTheFirstByte) {
    SetTimeouts(MAXDWORD, MAXDWORD, 60000);
    Record& read = StartPendingRead(255);
    ASSERT_TRUE(pty_.Write("Q"));
    ASSERT_TRUE(read.WaitDone(20000));  // long before the minute is up
    const Outcome done = Finish(read);
    EXPECT_TRUE(done.ok);
    EXPECT_EQ(Got(done), "Q");
}

TEST_F(TimeoutsTest, MaxdwordMaxdwordConstantEndsEmptyAfterTheConstant) {
    SetTimeouts(MAXDWORD, MAXDWORD, 200);
    Record& read = StartPendingRead(255);
    const Outcome done = Finish(read);
    EXPECT_TRUE(done.ok);
    EXPECT_EQ(done.bytes, 0u);
}

TEST_F(TimeoutsTest, WriteTimeoutCompletesWithWhatWentOut) {
    SetTimeouts(0, 0, 0, 0, 300);
    const std::string bytes(256 * 1024, 'w');  // nobody reads: the line fills up
    Record& write = NewRecord();
    ASSERT_EQ(StartWrite(write, bytes).error, ERROR_IO_PENDING);
    const Outcome done = Finish(write);
    EXPECT_TRUE(done.ok) << done.error;
    EXPECT_GT(done.bytes, 0u);
    EXPECT_LT(done.bytes, bytes.size());
    EXPECT_EQ(pty_.Read(done.bytes), bytes.substr(0, done.bytes));
}

}  // namespace
