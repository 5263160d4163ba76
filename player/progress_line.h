// The line on a terminal that tells how far the run has come; it rewrites itself in place.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>

class ProgressLine {
public:
    // A disabled line writes nothing.
    ProgressLine(std::FILE* stream, bool enabled) : stream_(stream), enabled_(enabled) {}

    bool Enabled() const { return enabled_; }
    void Show(std::int32_t line, std::int32_t lines, std::chrono::steady_clock::duration elapsed);
    // Blanks the line, so that other output starts at the left margin of an empty line.
    void Clear();

private:
    std::FILE* stream_;
    bool enabled_;
    std::size_t shownLength_ = 0;
};
