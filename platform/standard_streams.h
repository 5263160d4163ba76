// The standard streams of a program run from a shell: what it reads there as a file, and whether
// its messages go to a person. Backends: posix_standard_streams.cpp, win32_standard_streams.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// The first `limit` bytes of standard input, byte for byte (all of it when shorter), read up to
// its end. Empty when it cannot be read.
std::optional<std::string> ReadStandardInput(std::size_t limit);

// True when standard error is a terminal or console, where a line that rewrites itself makes sense.
bool StandardErrorIsTerminal();

}  // namespace platform
