// One thing the device writes to the pseudo-terminal: bytes that go out after a pause, either
// as fast as the pseudo-terminal takes them or in pieces with pauses between them.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace qdax_sim {

struct OutputItem {
    std::chrono::milliseconds pauseBefore{0};  // counted from the end of the previous item
    std::string bytes;
    std::size_t pieceSize = 0;  // 0: no pieces
    std::chrono::milliseconds piecePause{0};
};

}  // namespace qdax_sim
