#include <windows.h>

#include "platform/system_text.h"

namespace platform {

std::u16string DecodeCodePage(std::string_view bytes, unsigned codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()),
                          length);
    return text;
}

std::string EncodeCodePage(std::u16string_view text, unsigned codePage) {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    // No "best fit": a character the code page lacks must not go out as a look-alike byte.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int length = ::WideCharToMultiByte(codePage, flags, wide, size, nullptr, 0, "?", nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, flags, wide, size, bytes.data(), length, "?", nullptr);
    return bytes;
}

std::u16string DecodeSystemText(std::string_view bytes) {
    return DecodeCodePage(bytes, CP_ACP);
}

std::string EncodeSystemText(std::u16string_view text) {
    return EncodeCodePage(text, CP_ACP);
}

}  // namespace platform
