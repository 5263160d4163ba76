#include "player/progress_line.h"

#include <string>

void ProgressLine::Show(std::int32_t line, std::int32_t lines,
                        std::chrono::steady_clock::duration elapsed) {
    if (!enabled_) return;
    const auto tenths =
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / 100;
    std::string text = "line " + std::to_string(line) + " of " + std::to_string(lines) + ", " +
                       std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) +
                       " s elapsed";
    const std::size_t length = text.size();
    // Spaces cover what is left of a longer text shown before.
    if (length < shownLength_) text.append(shownLength_ - length, ' ');
    std::fprintf(stream_, "\r%s", text.c_str());
    std::fflush(stream_);
    shownLength_ = length;
}

void ProgressLine::Clear() {
    if (!enabled_ || shownLength_ == 0) return;
    std::fprintf(stream_, "\r%s\r", std::string(shownLength_, ' ').c_str());
    std::fflush(stream_);
    shownLength_ = 0;
}
