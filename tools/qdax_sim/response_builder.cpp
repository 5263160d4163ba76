#include "tools/qdax_sim/response_builder.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace qdax_sim {
namespace {

bool IsVersionQuery(const std::string& command) {
    const std::string query = "VER";
    return std::equal(
        command.begin(), command.end(), query.begin(), query.end(),
        [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

std::string AnswerText(const std::string& command, const SimOptions& options,
                       const std::string& lineEnd) {
    std::string text;
    auto addLine = [&](std::string_view line, bool last) {
        text += line;
        if (!(options.partial && last)) text += lineEnd;
    };
    if (options.floodLines > 0) {
        text.reserve(options.floodLines * (options.floodLength + lineEnd.size()));
        for (std::size_t k = 1; k <= options.floodLines; ++k) {
            addLine(FloodLine(k, options.floodLength), k == options.floodLines);
        }
        return text;
    }
    std::string answer = options.answer.value_or(IsVersionQuery(command) ? kVersionLine : "OK");
    for (std::size_t i = 1; i <= options.lines; ++i) addLine(answer, i == options.lines);
    return text;
}

}  // namespace

std::string FloodLine(std::size_t number, std::size_t length) {
    std::string line = std::to_string(number);
    if (line.size() < length) line.append(length - line.size(), '.');
    return line;
}

std::vector<OutputItem> BuildResponse(const std::string& command, const SimOptions& options) {
    const std::string lineEnd = LineEndBytes(options.lineEnd);
    std::vector<OutputItem> items;
    if (options.echo) items.push_back({.bytes = command + lineEnd});
    if (!options.silent) {
        items.push_back({.pauseBefore = options.delay,
                         .bytes = AnswerText(command, options, lineEnd),
                         .pieceSize = options.splitSize,
                         .piecePause = options.splitPause});
    }
    std::erase_if(items, [](const OutputItem& item) { return item.bytes.empty(); });
    return items;
}

}  // namespace qdax_sim
