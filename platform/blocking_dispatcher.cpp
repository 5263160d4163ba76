#include "platform/blocking_dispatcher.h"

#include <utility>

namespace platform {

BlockingDispatcher::BlockingDispatcher() : previous_(InstallWindowDispatcher(this)) {}

BlockingDispatcher::~BlockingDispatcher() {
    InstallWindowDispatcher(previous_);
}

void BlockingDispatcher::Post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    posted_.notify_one();
}

void BlockingDispatcher::ServeFor(std::chrono::steady_clock::duration duration) {
    ServeUntil([] { return false; }, duration);
}

bool BlockingDispatcher::ServeUntil(const std::function<bool()>& done,
                                    std::chrono::steady_clock::duration limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            if (!posted_.wait_until(lock, deadline, [this] { return !tasks_.empty(); })) {
                return done();
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
    return true;
}

}  // namespace platform
