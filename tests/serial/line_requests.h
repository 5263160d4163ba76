// The line settings the code under test last asked the kernel for (TCSETS2), before the driver
// had its say: a pseudo-terminal clears PARENB, so only the request shows the parity enabled.
// The flag values are the kernel's, the same as <termios.h> names them.
#pragma once

#include <cstdint>
#include <optional>

namespace serial_test {

struct LineRequest {
    std::uint32_t iflag = 0;
    std::uint32_t cflag = 0;
};

// Forgets what was asked so far.
void ForgetLineRequests();
// The last request made since then, if any.
std::optional<LineRequest> LastLineRequest();

}  // namespace serial_test
