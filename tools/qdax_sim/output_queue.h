// The bytes waiting to go out, in order, with the pauses before and inside them. Writes never
// block: the caller polls for room and calls WriteSome when the head is due.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>

#include "tools/qdax_sim/output_item.h"

namespace qdax_sim {

class OutputQueue {
public:
    using Clock = std::chrono::steady_clock;

    void Push(OutputItem item);
    bool Empty() const { return items_.empty(); }

    // When the next bytes may be written; nothing while the queue is empty.
    std::optional<Clock::time_point> NextWriteAt() const;

    // Writes what the non-blocking `fd` takes of the head's current piece. False on a write
    // error (errno tells which); a full pseudo-terminal is not one.
    bool WriteSome(int fd);

private:
    void StartHead();
    std::size_t CurrentPieceEnd() const;

    std::deque<OutputItem> items_;
    std::size_t written_ = 0;  // bytes of the head already out
    Clock::time_point nextWriteAt_;
};

}  // namespace qdax_sim
