// Text crosses between the program's 8-bit strings and Qt's strings through the system's 8-bit
// character set (platform/system_text.h): the bytes on the wire and in files are exactly those.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/system_text.h"

inline QString FromBytes(std::string_view bytes) {
    const std::u16string text = platform::DecodeSystemText(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// A character the character set has no byte for becomes '?'.
inline std::string ToBytes(const QString& text) {
    return platform::EncodeSystemText(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}
