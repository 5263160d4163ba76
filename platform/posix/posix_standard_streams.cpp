#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/standard_streams.h"

namespace platform {

std::optional<std::string> ReadStandardInput(std::size_t limit) {
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < limit) {
        const std::size_t wanted = std::min(sizeof buffer, limit - bytes.size());
        const ssize_t count = ::read(STDIN_FILENO, buffer, wanted);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return std::nullopt;
        if (count == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void WriteSystemText(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace platform
