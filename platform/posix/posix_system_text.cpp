// The system's 8-bit text on POSIX systems: Latin-1, each byte the character of the same code.
#include "platform/system_text.h"

namespace platform {

std::u16string DecodeSystemText(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(byte));
    return text;
}

std::string EncodeSystemText(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t character : text) {
        bytes += character <= 0xFF ? static_cast<char>(character) : '?';
    }
    return bytes;
}

}  // namespace platform
