#include "tests/faults/child_output.h"

#include <poll.h>
#include <unistd.h>

namespace qdax_fault {

std::optional<std::string> ReadLineFrom(int fd, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    std::string line;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd readable{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        char byte;
        if (read(fd, &byte, 1) != 1) return std::nullopt;
        if (byte == '\n') return line;
        line.push_back(byte);
    }
}

}  // namespace qdax_fault
