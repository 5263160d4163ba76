#include "app/log_view/log_line_store.h"

#include <algorithm>
#include <cstring>

void LogLineStore::Append(std::string_view line) {
    if (line.size() > lastBlockFree_) {
        const std::size_t size = std::max(kBlockSize, line.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        lastBlockEnd_ = blocks_.back().get();
        lastBlockFree_ = size;
    }
    if (!line.empty()) std::memcpy(lastBlockEnd_, line.data(), line.size());
    lines_.emplace_back(lastBlockEnd_, line.size());
    lastBlockEnd_ += line.size();
    lastBlockFree_ -= line.size();
}

void LogLineStore::Clear() {
    // Swapped out, not cleared: a cleared deque keeps its map.
    std::deque<std::string_view>().swap(lines_);
    blocks_.clear();
    lastBlockFree_ = 0;
    lastBlockEnd_ = nullptr;
}
