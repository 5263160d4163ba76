#include "tools/qdax_sim/output_queue.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace qdax_sim {

void OutputQueue::Push(OutputItem item) {
    items_.push_back(std::move(item));
    if (items_.size() == 1) StartHead();
}

std::optional<OutputQueue::Clock::time_point> OutputQueue::NextWriteAt() const {
    if (items_.empty()) return std::nullopt;
    return nextWriteAt_;
}

void OutputQueue::StartHead() {
    written_ = 0;
    if (!items_.empty()) nextWriteAt_ = Clock::now() + items_.front().pauseBefore;
}

std::size_t OutputQueue::CurrentPieceEnd() const {
    const OutputItem& head = items_.front();
    if (head.pieceSize == 0) return head.bytes.size();
    return std::min(head.bytes.size(), (written_ / head.pieceSize + 1) * head.pieceSize);
}

bool OutputQueue::WriteSome(int fd) {
    const OutputItem& head = items_.front();
    std::size_t end = CurrentPieceEnd();
    ssize_t written = write(fd, head.bytes.data() + written_, end - written_);
    if (written < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    written_ += static_cast<std::size_t>(written);
    if (written_ == head.bytes.size()) {
        items_.pop_front();
        StartHead();
    } else if (written_ == end) {
        nextWriteAt_ = Clock::now() + head.piecePause;
    }
    return true;
}

}  // namespace qdax_sim
