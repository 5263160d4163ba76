#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/comm.h"

namespace {

constexpr DWORD kAllocate =
    FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;

// The text FormatMessageA allocates for `code`, and the length it returned.
std::string AllocatedText(DWORD code, DWORD flags = kAllocate) {
    char* text = nullptr;
    const DWORD length = platform::FormatMessageA(flags, nullptr, code, 0x0400,
                                                  reinterpret_cast<char*>(&text), 0, nullptr);
    if (text == nullptr) return length == 0 ? "<none>" : "<length without text>";
    std::string copy(text);
    platform::LocalFree(text);
    return copy.size() == length ? copy : "<length differs>";
}

struct MessageCase {
    DWORD code;
    std::string text;
};

void PrintTo(const MessageCase& message, std::ostream* out) {
    *out << message.code;
}

class SystemMessageTest : public testing::TestWithParam<MessageCase> {};

TEST_P(SystemMessageTest, IsTheSystemsTextEndedByCrLf) {
    EXPECT_EQ(AllocatedText(GetParam().code), GetParam().text + "\r\n");
    EXPECT_EQ(
        AllocatedText(GetParam().code, FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER),
        GetParam().text + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SystemMessageTest,
    testing::Values(
        MessageCase{ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
        MessageCase{ERROR_ACCESS_DENIED, "Access is denied."},
        MessageCase{ERROR_INVALID_HANDLE, "The handle is invalid."},
        MessageCase{ERROR_SHARING_VIOLATION,
                    "The process cannot access the file because it is being used by another "
                    "process."},
        MessageCase{ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
        MessageCase{ERROR_NOT_SUPPORTED, "The request is not supported."},
        MessageCase{ERROR_OPERATION_ABORTED,
                    "The I/O operation has been aborted because of either a thread exit or an "
                    "application request."},
        MessageCase{ERROR_DEVICE_NOT_CONNECTED, "The device is not connected."},
        MessageCase{0x20000000u | EPROTO, std::strerror(EPROTO)},
        MessageCase{0x20000000u | EOVERFLOW, std::strerror(EOVERFLOW)}));

TEST(FormatMessageTest, CodeWithoutTextGivesNothing) {
    EXPECT_EQ(AllocatedText(12345), "<none>");
    EXPECT_EQ(AllocatedText(0x20000000u | 4000), "<none>");  // no such errno
}

TEST(FormatMessageTest, CallersBufferTakesTheTextWhenLargeEnough) {
    char buffer[64];
    const DWORD length =
        platform::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0,
                                 buffer, sizeof buffer, nullptr);
    EXPECT_EQ(length, 19u);
    EXPECT_STREQ(buffer, "Access is denied.\r\n");

    char small[19];  // no room for the terminator
    EXPECT_EQ(platform::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0,
                                       small, sizeof small, nullptr),
              0u);
    EXPECT_EQ(platform::GetLastError(), 122u);  // the data area is too small
}

}  // namespace
