// The way a background thread reaches the window thread: the application posts tasks into its
// event loop; tests run a loop of their own.
#pragma once

#include <functional>

namespace platform {

class WindowDispatcher {
public:
    virtual ~WindowDispatcher() = default;
    // Queues `task` to run on the window thread and returns at once. An exception the task
    // raises is the dispatcher's to handle there; it never reaches the posting thread.
    virtual void Post(std::function<void()> task) = 0;
};

// The dispatcher that Thread::Synchronize posts to. Set once at start-up (or by a test) before
// any thread hands anything over; returns the one before.
WindowDispatcher* InstallWindowDispatcher(WindowDispatcher* dispatcher);
WindowDispatcher& ActiveWindowDispatcher();

}  // namespace platform
