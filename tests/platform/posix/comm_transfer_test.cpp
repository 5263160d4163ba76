#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/comm.h"
#include "tests/platform/posix/port_fixture.h"

namespace {

using comm_test::Outcome;
using comm_test::PortOnPty;
using comm_test::Record;

// More than the pseudo-terminal buffers (about 68 KiB), so the write waits for the reader.
constexpr std::size_t kBeyondBuffer = 256 * 1024;

std::string AllByteValues() {
    std::string bytes;
    for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
    return bytes;
}

std::string Noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

TEST_F(PortOnPty, EveryByteValueGoesOutUnchanged) {
    const std::string bytes = AllByteValues() + "\r\n\n\r";
    const Outcome write = StartWrite(NewRecord(), bytes);
    ASSERT_TRUE(write.ok) << write.error;
    EXPECT_EQ(write.bytes, bytes.size());
    EXPECT_EQ(pty_.Read(bytes.size()), bytes);
}

TEST_F(PortOnPty, EveryByteValueComesInUnchanged) {
    const std::string bytes = AllByteValues() + "\r\n\n\r";
    std::string buffer(bytes.size(), '\0');
    Record& read = NewRecord();
    const Outcome started = StartRead(read, buffer.data(), static_cast<DWORD>(buffer.size()));
    ASSERT_TRUE(started.ok || started.error == ERROR_IO_PENDING) << started.error;
    ASSERT_TRUE(pty_.Write(bytes));
    const Outcome done = Finish(read);
    ASSERT_TRUE(done.ok) << done.error;
    EXPECT_EQ(done.bytes, bytes.size());
    EXPECT_EQ(buffer, bytes);
}

TEST_F(PortOnPty, LargeWriteGoesOnUntilAllIsOut) {
    const std::string bytes = Noise(kBeyondBuffer, 1);
    Record& write = NewRecord();
    const Outcome started = StartWrite(write, bytes);
    ASSERT_FALSE(started.ok);
    ASSERT_EQ(started.error, ERROR_IO_PENDING);
    EXPECT_TRUE(write.Pending());
    EXPECT_EQ(pty_.Read(bytes.size(), 10000, 1000), bytes);  // drained in small pieces
    const Outcome done = Finish(write);
    EXPECT_TRUE(done.ok) << done.error;
    EXPECT_EQ(done.bytes, bytes.size());
}

TEST_F(PortOnPty, QueuedWritesCompleteInOrderByteExact) {
    const std::string first = Noise(kBeyondBuffer, 2);
    const std::string second = Noise(100 * 1024, 3);
    const std::string third = "last\r";
    Record& one = NewRecord();
    Record& two = NewRecord();
    Record& empty = NewRecord();
    Record& three = NewRecord();
    EXPECT_EQ(StartWrite(one, first).error, ERROR_IO_PENDING);
    EXPECT_EQ(StartWrite(two, second).error, ERROR_IO_PENDING);
    EXPECT_EQ(StartWrite(empty, "").error, ERROR_IO_PENDING);
    EXPECT_EQ(StartWrite(three, third).error, ERROR_IO_PENDING);

    EXPECT_EQ(pty_.Read(first.size(), 10000, 1000), first);
    ASSERT_TRUE(one.WaitDone());
    EXPECT_TRUE(two.Pending());  // more of it than the line buffers is still to go
    EXPECT_TRUE(three.Pending());
    EXPECT_EQ(pty_.Read(second.size() + third.size()), second + third);

    EXPECT_EQ(Finish(one).bytes, first.size());
    EXPECT_EQ(Finish(two).bytes, second.size());
    const Outcome nothing = Finish(empty);
    EXPECT_TRUE(nothing.ok);
    EXPECT_EQ(nothing.bytes, 0u);
    const Outcome last = Finish(three);
    EXPECT_TRUE(last.ok);
    EXPECT_EQ(last.bytes, third.size());
}

TEST_F(PortOnPty, ReadCompletesWhenItsBufferIsFull) {
    const std::string bytes = Noise(300, 4);
    char buffer[255] = {};
    Record& read = NewRecord();
    ASSERT_EQ(StartRead(read, buffer, sizeof buffer).error, ERROR_IO_PENDING);
    ASSERT_TRUE(pty_.Write(bytes));
    const Outcome full = Finish(read);
    ASSERT_TRUE(full.ok) << full.error;
    ASSERT_EQ(full.bytes, 255u);
    EXPECT_EQ(std::string(buffer, 255), bytes.substr(0, 255));

    SetTimeouts(50, 0, 0);
    Record& rest = NewRecord();
    const Outcome started = StartRead(rest, buffer, sizeof buffer);
    ASSERT_TRUE(started.ok || started.error == ERROR_IO_PENDING);
    const Outcome tail = Finish(rest);
    ASSERT_EQ(tail.bytes, 45u);
    EXPECT_EQ(std::string(buffer, 45), bytes.substr(255));
}

TEST_F(PortOnPty, SecondReadWhileOneIsInProgressIsRefused) {
    char first[8] = {};
    char second[8] = {};
    Record& one = NewRecord();
    Record& two = NewRecord();
    ASSERT_EQ(StartRead(one, first, sizeof first).error, ERROR_IO_PENDING);
    const Outcome refused = StartRead(two, second, sizeof second);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, ERROR_INVALID_PARAMETER);
    ASSERT_TRUE(pty_.Write("12345678"));
    const Outcome done = Finish(one);
    EXPECT_EQ(done.bytes, 8u);
    EXPECT_EQ(std::string(first, 8), "12345678");
}

TEST_F(PortOnPty, OverlappedPortNeedsARecord) {
    char buffer[4];
    DWORD bytes = 0;
    EXPECT_FALSE(platform::ReadFile(port_, buffer, sizeof buffer, &bytes, nullptr));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(platform::WriteFile(port_, "x", 1, &bytes, nullptr));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(PortOnPty, PlainPortReadsAndWritesWithinTheCall) {
    platform::CloseHandle(port_);
    port_ = Open(FILE_ATTRIBUTE_NORMAL);
    ASSERT_NE(port_, INVALID_HANDLE_VALUE) << platform::GetLastError();

    DWORD written = 0;
    ASSERT_TRUE(platform::WriteFile(port_, "VER\r", 4, &written, nullptr));
    EXPECT_EQ(written, 4u);
    EXPECT_EQ(pty_.Read(4), "VER\r");

    ASSERT_TRUE(pty_.Write("OK\r\n"));
    char buffer[4] = {};
    DWORD got = 0;
    ASSERT_TRUE(platform::ReadFile(port_, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(std::string(buffer, 4), "OK\r\n");
}

}  // namespace
