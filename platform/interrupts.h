// A request from outside to end the program (Ctrl+C, or SIGTERM from a service manager or `kill`)
// turned into a call, so that the program can close its port and keep its log before it ends.
// Backends: posix/posix_interrupts.cpp (SIGINT, SIGTERM), win32/win32_interrupts.cpp (the console's
// Ctrl+C, Ctrl+Break and close).
#pragma once

#include <functional>
#include <memory>

namespace platform {

class InterruptWatch {
public:
    // From now on an interrupt no longer ends the program: `onInterrupt` runs instead, on a
    // thread that is not the caller's, once per interrupt. On POSIX the caller must create the
    // watch before starting any thread, as threads inherit the blocked signals from it; they stay
    // blocked after the watch, so a late interrupt cannot cut the program's last steps short.
    explicit InterruptWatch(std::function<void()> onInterrupt);
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

private:
    struct Watcher;
    std::unique_ptr<Watcher> watcher_;
};

}  // namespace platform
