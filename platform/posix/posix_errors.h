// The Win32 error codes this backend gives for what the POSIX calls report.
#pragma once

#include "platform/win32_types.h"

namespace platform::posix {

// Codes the backend produces beyond those the rest of the program names.
inline constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;
inline constexpr DWORD ERROR_TIMEOUT = 1460;

// An errno without a system code of its own travels as this bit with the errno below it; its text
// is the C library's.
inline constexpr DWORD kCustomerCodeBit = 0x20000000u;

inline bool IsCustomerCode(DWORD code) {
    return (code & kCustomerCodeBit) != 0;
}
inline int ErrnoOfCustomerCode(DWORD code) {
    return static_cast<int>(code & ~kCustomerCodeBit);
}

DWORD ErrorFromErrno(int error);

// Sets the calling thread's last error and gives FALSE, for the usual failure return.
BOOL Fail(DWORD error);

}  // namespace platform::posix
