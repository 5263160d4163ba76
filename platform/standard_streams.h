// The standard streams of a program run from a shell: what it reads there as a file, and whether
// its messages go to a person. Backends: posix/posix_standard_streams.cpp,
// win32/win32_standard_streams.cpp.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The first `limit` bytes of standard input, byte for byte (all of it when shorter), read up to
// its end. Empty when it cannot be read.
std::optional<std::string> ReadStandardInput(std::size_t limit);

// True when standard error is a terminal or console, where a line that rewrites itself makes sense.
bool StandardErrorIsTerminal();

// Writes 8-bit text in the system's character set (platform/system_text.h) to `stream`: to a file
// or pipe as the very bytes; to a Windows console as the characters they stand for, since the
// console would read the bytes in a code page of its own (the OEM one), not the system's.
void WriteSystemText(std::FILE* stream, std::string_view text);

}  // namespace platform
