// What the kernel holds for a tty, read through termios2 so that any baud rate shows. On Linux
// the termios calls on a pty master act on its slave, so the test reads the port's line through
// the master it holds. The flag values are the kernel's, the same as <termios.h> names them.
#pragma once

#include <cstdint>

namespace comm_test {

struct ProbedLine {
    std::uint32_t iflag = 0;
    std::uint32_t oflag = 0;
    std::uint32_t cflag = 0;
    std::uint32_t lflag = 0;
    std::uint32_t outputSpeed = 0;
    unsigned char startChar = 0;  // VSTART
    unsigned char stopChar = 0;   // VSTOP
    unsigned char minChars = 0;   // VMIN
};

ProbedLine ProbeLine(int fd);

}  // namespace comm_test
