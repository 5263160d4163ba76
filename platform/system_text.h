// The system's 8-bit text: what the operator types and what command files hold goes to the wire,
// and received bytes come back to the screen, as bytes of one 8-bit character set. On Windows
// that is the system's ANSI code page, as its own programs use; elsewhere it is Latin-1, each
// byte the character of the same code, so that every byte keeps a character of its own.
// Backends: posix/posix_system_text.cpp, win32/win32_system_text.cpp.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string DecodeSystemText(std::string_view bytes);

// A character the character set has no byte for becomes '?'.
std::string EncodeSystemText(std::u16string_view text);

#ifdef _WIN32
// The same through a code page named by number, for the tests of a code page other than the
// system's.
std::u16string DecodeCodePage(std::string_view bytes, unsigned codePage);
std::string EncodeCodePage(std::u16string_view text, unsigned codePage);
#endif

}  // namespace platform
