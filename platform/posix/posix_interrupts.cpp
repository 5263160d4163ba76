// Interrupts on POSIX: SIGINT and SIGTERM are blocked and taken by a thread of the watch's own with
// sigwait, so the call runs as ordinary code rather than inside a signal handler.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <thread>
#include <utility>

#include "platform/interrupts.h"

namespace platform {

namespace {

sigset_t InterruptSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

struct InterruptWatch::Watcher {
    explicit Watcher(std::function<void()> onInterrupt) : onInterrupt(std::move(onInterrupt)) {}

    void Run() {
        const sigset_t signals = InterruptSignals();
        int signal = 0;
        while (sigwait(&signals, &signal) == 0 && !stopping) {
            onInterrupt();
        }
    }

    std::function<void()> onInterrupt;
    std::atomic<bool> stopping{false};
    std::thread thread;
};

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt)
    : watcher_(std::make_unique<Watcher>(std::move(onInterrupt))) {
    const sigset_t signals = InterruptSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    watcher_->thread = std::thread([watcher = watcher_.get()] { watcher->Run(); });
}

// The watcher is woken by a signal of its own kind, aimed at its thread alone.
InterruptWatch::~InterruptWatch() {
    watcher_->stopping = true;
    pthread_kill(watcher_->thread.native_handle(), SIGTERM);
    watcher_->thread.join();
}

}  // namespace platform
