// The window thread of a test: tasks posted by background threads queue here and run when the
// test's own loop serves them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/window_dispatcher.h"

class TestDispatcher : public platform::WindowDispatcher {
public:
    TestDispatcher() : previous_(platform::InstallWindowDispatcher(this)) {}
    ~TestDispatcher() override { platform::InstallWindowDispatcher(previous_); }

    void Post(std::function<void()> task) override {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        posted_.notify_all();
    }

    // Serves posted tasks on the calling thread until `done` holds or `limit` passes; true when
    // it held. Exceptions from tasks are recorded, as the window's error box would show them.
    bool ServeUntil(const std::function<bool()>& done,
                    std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            std::function<void()> task;
            {
                std::unique_lock lock(mutex_);
                // Short slices: the condition may come true without a task being posted.
                if (!posted_.wait_for(lock, std::chrono::milliseconds(5),
                                      [this] { return !tasks_.empty(); })) {
                    if (std::chrono::steady_clock::now() >= deadline) return done();
                    continue;
                }
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            ++served;
            try {
                task();
            } catch (const std::exception& e) {
                errors.emplace_back(e.what());
            }
        }
        return true;
    }

    std::size_t Queued() {
        std::lock_guard lock(mutex_);
        return tasks_.size();
    }

    std::vector<std::string> errors;
    std::size_t served = 0;  // tasks run so far

private:
    platform::WindowDispatcher* previous_;
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};
