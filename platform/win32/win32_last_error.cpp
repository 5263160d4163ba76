// On Windows the last-error slot is the system's own, which the system calls passed through here
// set themselves.
#include "platform/last_error.h"

namespace platform {

DWORD GetLastError() {
    return ::GetLastError();
}

void SetLastError(DWORD code) {
    ::SetLastError(code);
}

}  // namespace platform
