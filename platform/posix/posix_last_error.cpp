// The last-error slot on POSIX systems: one per thread, as Windows keeps it.
#include "platform/last_error.h"

namespace platform {

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

}  // namespace

DWORD GetLastError() {
    return lastError;
}

void SetLastError(DWORD code) {
    lastError = code;
}

}  // namespace platform
