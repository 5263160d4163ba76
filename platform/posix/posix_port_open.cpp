#include "platform/posix/posix_port_open.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_line_settings.h"
#include "platform/posix/posix_output_drain.h"

namespace platform::posix {

namespace {

OpenedLine Refuse(int fd, DWORD error) {
    close(fd);
    return OpenedLine{-1, error};
}

}  // namespace

OpenedLine OpenSerialLine(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return OpenedLine{-1, ErrorFromErrno(errno)};
    if (!isatty(fd)) return Refuse(fd, ERROR_NOT_SUPPORTED);

    // TIOCEXCL alone does not stop a privileged second open; the lock does, for every process
    // that opens through this backend. TIOCEXCL still keeps out other programs run as users.
    // A serial port already open is refused as Windows refuses it: access denied.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        return Refuse(fd, error == EWOULDBLOCK ? ERROR_ACCESS_DENIED : ErrorFromErrno(error));
    }
    if (ioctl(fd, TIOCEXCL) != 0) return Refuse(fd, ErrorFromErrno(errno));
    if (int error = MakeLineRaw(fd)) {
        ioctl(fd, TIOCNXCL);
        return Refuse(fd, ErrorFromErrno(error));
    }
    return OpenedLine{fd, ERROR_SUCCESS};
}

void ReleaseSerialLine(int fd) {
    DrainBeforeClose(fd);
    ioctl(fd, TIOCNXCL);
    close(fd);
}

}  // namespace platform::posix
