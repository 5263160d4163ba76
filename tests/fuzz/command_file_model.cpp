#include "tests/fuzz/command_file_model.h"

namespace qdax_fuzz {

std::string_view FileText(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

std::optional<std::vector<std::string>> ExpectedCommandLines(std::string_view bytes,
                                                             std::size_t capacity) {
    const std::string_view text = FileText(bytes);
    if (text.size() > capacity) return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    bool afterCarriageReturn = false;
    for (const char c : text) {
        const bool endsCrLf = c == '\n' && afterCarriageReturn;
        afterCarriageReturn = c == '\r';
        if (endsCrLf) continue;  // the LF of a CR LF adds no line of its own
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace qdax_fuzz
