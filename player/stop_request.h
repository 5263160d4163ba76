// A request to stop the run, made by an interrupt on another thread and seen by the thread that
// plays; it also cuts a command delay short.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class StopRequest {
public:
    // Any thread.
    void Request();
    bool Requested() const;
    // Waits for `duration` unless a stop is requested first.
    void WaitFor(std::chrono::milliseconds duration);

private:
    mutable std::mutex mutex_;
    std::condition_variable requested_;
    bool stop_ = false;
};
