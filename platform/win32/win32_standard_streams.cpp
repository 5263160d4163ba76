#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "platform/standard_streams.h"
#include "platform/system_text.h"

namespace platform {

std::optional<std::string> ReadStandardInput(std::size_t limit) {
    // Binary, so that carriage returns and a Ctrl+Z reach the reader as the bytes they are.
    if (::_setmode(::_fileno(stdin), _O_BINARY) == -1) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < limit) {
        const std::size_t wanted = std::min(sizeof buffer, limit - bytes.size());
        const std::size_t count = std::fread(buffer, 1, wanted, stdin);
        bytes.append(buffer, count);
        if (count < wanted) break;
    }
    if (std::ferror(stdin)) return std::nullopt;
    return bytes;
}

bool StandardErrorIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

void WriteSystemText(std::FILE* stream, std::string_view text) {
    const auto console = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !::GetConsoleMode(console, &mode)) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    // What the stream holds goes first, so that the order stays.
    std::fflush(stream);
    const std::u16string characters = DecodeSystemText(text);
    DWORD written = 0;
    ::WriteConsoleW(console, characters.data(), static_cast<DWORD>(characters.size()), &written,
                    nullptr);
}

}  // namespace platform
