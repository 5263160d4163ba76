// The window thread of a program without a window (qdax-play, the benchmarks): tasks that the
// port's reader hands over queue here and run on the thread that serves them. Waiting for a task
// never polls, so the serving thread costs nothing while the reader is quiet.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/window_dispatcher.h"

namespace platform {

class BlockingDispatcher : public WindowDispatcher {
public:
    BlockingDispatcher();  // installed for its lifetime
    ~BlockingDispatcher() override;
    BlockingDispatcher(const BlockingDispatcher&) = delete;
    BlockingDispatcher& operator=(const BlockingDispatcher&) = delete;

    void Post(std::function<void()> task) override;

    // Runs posted tasks on the calling thread for `duration`.
    void ServeFor(std::chrono::steady_clock::duration duration);
    // Runs posted tasks until one of them has made `done` true, or `limit` has passed; the
    // result is done's.
    bool ServeUntil(const std::function<bool()>& done, std::chrono::steady_clock::duration limit);

private:
    WindowDispatcher* previous_;
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace platform
