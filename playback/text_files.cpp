#include "playback/text_files.h"

#include <limits>
#include <optional>
#include <string_view>

#include "platform/file_access.h"
#include "platform/standard_streams.h"
#include "playback/app_error.h"

namespace {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

// One byte beyond the capacity tells a text that fits from one that does not.
std::size_t ReadLimit(std::size_t capacity) {
    return capacity < std::numeric_limits<std::size_t>::max() ? capacity + 1 : capacity;
}

std::vector<std::string> CommandLines(const std::optional<std::string>& bytes, std::size_t capacity,
                                      const std::string& readError) {
    if (!bytes) throw AppError(readError);
    std::string_view text(*bytes);
    text = text.substr(0, text.find('\0'));
    if (text.size() > capacity) throw AppError("Text exceeds memo capacity");
    return SplitLines(text);
}

}  // namespace

std::vector<std::string> LoadCommandFile(const std::string& path, std::size_t capacity) {
    return CommandLines(platform::ReadFileHead(path, ReadLimit(capacity)), capacity,
                        "Cannot open file " + path);
}

std::vector<std::string> LoadCommandInput(std::size_t capacity) {
    return CommandLines(platform::ReadStandardInput(ReadLimit(capacity)), capacity,
                        "Cannot read standard input");
}

void SaveLogFile(const std::string& path, const std::vector<std::string>& lines) {
    SaveLogFile(path, lines.size(),
                [&lines](std::size_t index) -> std::string_view { return lines[index]; });
}

void SaveLogFile(const std::string& path, std::size_t count,
                 const std::function<std::string_view(std::size_t)>& lineAt) {
    std::size_t size = 0;
    for (std::size_t i = 0; i < count; ++i) size += lineAt(i).size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (std::size_t i = 0; i < count; ++i) {
        bytes += lineAt(i);
        bytes += "\r\n";
    }
    if (!platform::ReplaceFileContents(path, bytes)) throw AppError("Cannot create file " + path);
}
