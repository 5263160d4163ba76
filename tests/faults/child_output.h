// Reading what a child process says on a pipe, line by line.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace qdax_fault {

// The next line from `fd`, without its line feed; nothing when the writer closed its end or no
// whole line came within `timeout`.
std::optional<std::string> ReadLineFrom(int fd, std::chrono::milliseconds timeout);

}  // namespace qdax_fault
