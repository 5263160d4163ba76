#include "player/stop_request.h"

void StopRequest::Request() {
    std::lock_guard lock(mutex_);
    stop_ = true;
    requested_.notify_all();
}

bool StopRequest::Requested() const {
    std::lock_guard lock(mutex_);
    return stop_;
}

void StopRequest::WaitFor(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    requested_.wait_for(lock, duration, [this] { return stop_; });
}
