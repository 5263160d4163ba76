// Opening a tty for the exclusive use of one handle, as an unshared open of a port on Windows:
// a second open, from this process or another, is refused while the first is open.
#pragma once

#include <string>

#include "platform/win32_types.h"

namespace platform::posix {

struct OpenedLine {
    int fd = -1;      // -1 when the open failed
    DWORD error = 0;  // why it failed
};

// Opens `path` read-write, non-blocking, locked and raw. A path that is no tty is refused with
// ERROR_NOT_SUPPORTED; a port open elsewhere with ERROR_ACCESS_DENIED.
OpenedLine OpenSerialLine(const std::string& path);

// Gives the line up: lets what was written go out for a bounded time and discards what is still
// stuck then (so the close never waits for the driver's closing_wait), lifts the exclusive mode
// and closes, which also drops the lock.
void ReleaseSerialLine(int fd);

}  // namespace platform::posix
