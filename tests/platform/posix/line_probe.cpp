// Uses the kernel's termios2 and so must not see <termios.h>.
#include "tests/platform/posix/line_probe.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <stdexcept>

namespace comm_test {

ProbedLine ProbeLine(int fd) {
    termios2 line{};
    if (ioctl(fd, TCGETS2, &line) != 0) throw std::runtime_error("TCGETS2 failed");
    return ProbedLine{line.c_iflag,  line.c_oflag,      line.c_cflag,     line.c_lflag,
                      line.c_ospeed, line.c_cc[VSTART], line.c_cc[VSTOP], line.c_cc[VMIN]};
}

}  // namespace comm_test
