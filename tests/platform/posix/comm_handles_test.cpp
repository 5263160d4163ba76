#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "platform/comm.h"
#include "tests/support/pty_device.h"

namespace {

// Each call given `handle` must fail with ERROR_INVALID_HANDLE.
void ExpectRefusedEverywhere(HANDLE handle, bool isEvent) {
    DCB dcb{};
    COMMTIMEOUTS timeouts{};
    char buffer[4] = {};
    DWORD bytes = 0;
    OVERLAPPED record{};
    const std::function<BOOL()> portCalls[] = {
        [&] { return platform::GetCommState(handle, &dcb); },
        [&] { return platform::SetCommState(handle, &dcb); },
        [&] { return platform::GetCommTimeouts(handle, &timeouts); },
        [&] { return platform::SetCommTimeouts(handle, &timeouts); },
        [&] { return platform::ReadFile(handle, buffer, sizeof buffer, &bytes, &record); },
        [&] { return platform::WriteFile(handle, buffer, sizeof buffer, &bytes, &record); },
        [&] { return platform::CancelIo(handle); },
    };
    for (const auto& call : portCalls) {
        platform::SetLastError(0);
        EXPECT_FALSE(call());
        EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_HANDLE);
    }
    if (isEvent) return;
    platform::SetLastError(0);
    EXPECT_FALSE(platform::SetEvent(handle));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(platform::WaitForSingleObjectEx(handle, 0, FALSE), WAIT_FAILED);
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(platform::CloseHandle(handle));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(HandlesTest, ValuesThatAreNoObjectAreRefused) {
    int notAnObject = 0;
    ExpectRefusedEverywhere(nullptr, false);
    ExpectRefusedEverywhere(INVALID_HANDLE_VALUE, false);
    ExpectRefusedEverywhere(&notAnObject, false);
}

TEST(HandlesTest, ClosedHandlesAreRefused) {
    qdax_test::PtyDevice pty;
    HANDLE port = platform::CreateFileA(pty.SlavePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(platform::CloseHandle(port));
    ExpectRefusedEverywhere(port, false);

    HANDLE event = platform::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(platform::CloseHandle(event));
    ExpectRefusedEverywhere(event, false);
}

TEST(HandlesTest, AnEventIsNoPortAndAPortIsNoEvent) {
    HANDLE event = platform::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ExpectRefusedEverywhere(event, true);
    platform::CloseHandle(event);

    qdax_test::PtyDevice pty;
    HANDLE port = platform::CreateFileA(pty.SlavePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(platform::SetEvent(port));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(platform::WaitForSingleObjectEx(port, 0, FALSE), WAIT_FAILED);
    platform::CloseHandle(port);
}

TEST(HandlesTest, RecordNamingAClosedEventIsRefused) {
    OVERLAPPED record{};
    record.hEvent = platform::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    platform::CloseHandle(record.hEvent);
    DWORD bytes = 0;
    EXPECT_FALSE(platform::GetOverlappedResult(nullptr, &record, &bytes, FALSE));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(LastErrorTest, EachThreadHasItsOwn) {
    platform::SetLastError(ERROR_ACCESS_DENIED);
    DWORD seenThere = 1;
    std::thread other([&] {
        seenThere = platform::GetLastError();
        platform::SetLastError(ERROR_GEN_FAILURE);
    });
    other.join();
    EXPECT_EQ(seenThere, 0u);
    EXPECT_EQ(platform::GetLastError(), ERROR_ACCESS_DENIED);
}

}  // namespace
