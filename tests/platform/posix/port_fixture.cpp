#include "tests/platform/posix/port_fixture.h"

namespace comm_test {

Record::Record() {
    ov.hEvent = platform::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

Record::~Record() {
    platform::CloseHandle(ov.hEvent);
}

bool Record::WaitDone(DWORD ms) {
    return platform::WaitForSingleObjectEx(ov.hEvent, ms, FALSE) == WAIT_OBJECT_0;
}

bool Record::Pending() {
    DWORD bytes = 0;
    return !platform::GetOverlappedResult(nullptr, &ov, &bytes, FALSE) &&
           platform::GetLastError() == ERROR_IO_INCOMPLETE;
}

void PortOnPty::SetUp() {
    port_ = Open(FILE_FLAG_OVERLAPPED);
    ASSERT_NE(port_, INVALID_HANDLE_VALUE) << platform::GetLastError();
}

void PortOnPty::TearDown() {
    if (port_ != INVALID_HANDLE_VALUE) platform::CloseHandle(port_);
}

HANDLE PortOnPty::Open(DWORD flags) {
    return platform::CreateFileA(pty_.SlavePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, flags, nullptr);
}

void PortOnPty::SetTimeouts(DWORD interval, DWORD multiplier, DWORD constant, DWORD writeMultiplier,
                            DWORD writeConstant) {
    COMMTIMEOUTS timeouts{interval, multiplier, constant, writeMultiplier, writeConstant};
    ASSERT_TRUE(platform::SetCommTimeouts(port_, &timeouts));
}

Outcome PortOnPty::StartRead(Record& record, char* buffer, DWORD size) {
    DWORD bytes = 0;
    const BOOL ok = platform::ReadFile(port_, buffer, size, &bytes, &record.ov);
    return Outcome{ok, ok ? 0 : platform::GetLastError(), bytes};
}

Outcome PortOnPty::StartWrite(Record& record, const std::string& bytes) {
    DWORD written = 0;
    const BOOL ok = platform::WriteFile(port_, bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, &record.ov);
    return Outcome{ok, ok ? 0 : platform::GetLastError(), written};
}

Outcome PortOnPty::Finish(Record& record) {
    DWORD bytes = 0;
    const BOOL ok = platform::GetOverlappedResult(port_, &record.ov, &bytes, TRUE);
    return Outcome{ok, ok ? 0 : platform::GetLastError(), bytes};
}

}  // namespace comm_test
