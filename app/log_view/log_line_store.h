// The lines of the communications log, each kept as the bytes it arrived with. A run can log
// millions of lines, so their bytes share large blocks and each line costs little more than its
// text: no string object, no allocation of its own.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

class LogLineStore {
public:
    void Append(std::string_view line);
    // Forgets every line and gives their storage back.
    void Clear();

    std::size_t Count() const { return lines_.size(); }
    // Valid until the next Clear.
    std::string_view At(std::size_t index) const { return lines_[index]; }

private:
    // Most lines are short; a longer one gets a block of its own size.
    static constexpr std::size_t kBlockSize = 256 * 1024;

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t lastBlockFree_ = 0;
    char* lastBlockEnd_ = nullptr;  // the first free byte of the last block
    // A deque grows without moving what it holds: appending never copies the index.
    std::deque<std::string_view> lines_;
};
