#include "platform/thread.h"

#include "platform/window_dispatcher.h"

namespace platform {

void ThreadExit::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return done_; });
}

bool ThreadExit::Done() {
    std::lock_guard lock(mutex_);
    return done_;
}

void ThreadExit::Signal() {
    std::lock_guard lock(mutex_);
    done_ = true;
    changed_.notify_all();
}

// One hand-over to the window thread. Shared with the posted task, which may still be queued
// after a stop request has let the thread (and its object) go.
struct Thread::HandOver {
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool finished = false;
    bool dropped = false;
};

Thread::Thread() : exit_(std::make_shared<ThreadExit>()) {
    StartOsThread();
}

Thread::~Thread() {
    if (os_) {
        // Destroyed from outside (not self-freeing): let the body end, then wait for it.
        Terminate();
        JoinOsThread();
    }
}

void Thread::Run() {
    {
        std::unique_lock lock(mutex_);
        WaitWhileHeld(lock);
    }
    Execute();
    std::shared_ptr<ThreadExit> exit = exit_;
    bool freeSelf;
    {
        // Taking the lock lets a Terminate() that is still running on another thread finish
        // before the object can go away.
        std::lock_guard lock(mutex_);
        freeSelf = freeOnTerminate_;
    }
    if (freeSelf) {
        DetachOsThread();
        delete this;
    }
    exit->Signal();
}

void Thread::Suspend() {
    std::unique_lock lock(mutex_);
    held_ = true;
    changed_.wait(lock, [this] { return !inStep_; });
}

void Thread::Resume() {
    std::lock_guard lock(mutex_);
    if (held_) {
        held_ = false;
        ++releases_;
        WakeParked();
    }
}

bool Thread::Suspended() const {
    std::lock_guard lock(mutex_);
    return held_;
}

void Thread::Terminate() {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
    if (pendingHandOver_) {
        std::lock_guard handOverLock(pendingHandOver_->mutex);
        if (!pendingHandOver_->started) {
            pendingHandOver_->dropped = true;
            pendingHandOver_->changed.notify_all();
        }
    }
    OnTerminateRequested();
    WakeParked();
}

bool Thread::Terminated() const {
    return stopRequested_;
}

void Thread::SetFreeOnTerminate(bool freeOnTerminate) {
    std::lock_guard lock(mutex_);
    freeOnTerminate_ = freeOnTerminate;
}

std::uint64_t Thread::ReleaseCount() const {
    std::lock_guard lock(mutex_);
    return releases_;
}

bool Thread::Step(const std::function<void()>& progress) {
    {
        std::unique_lock lock(mutex_);
        WaitWhileHeld(lock);
        if (stopRequested_) return false;
        inStep_ = true;
    }
    struct LeaveStep {
        Thread& thread;
        ~LeaveStep() {
            std::lock_guard lock(thread.mutex_);
            thread.inStep_ = false;
            thread.changed_.notify_all();
        }
    } leave{*this};
    progress();
    return true;
}

bool Thread::Synchronize(std::function<void()> method) {
    auto handOver = std::make_shared<HandOver>();
    {
        std::unique_lock lock(mutex_);
        WaitWhileHeld(lock);
        if (stopRequested_) return false;
        pendingHandOver_ = handOver;
    }
    ActiveWindowDispatcher().Post([handOver, method = std::move(method)] {
        {
            std::lock_guard lock(handOver->mutex);
            if (handOver->dropped) return;
            handOver->started = true;
        }
        struct Finish {
            HandOver& handOver;
            ~Finish() {
                std::lock_guard lock(handOver.mutex);
                handOver.finished = true;
                handOver.changed.notify_all();
            }
        } finish{*handOver};
        method();
    });
    bool finished;
    {
        std::unique_lock lock(handOver->mutex);
        handOver->changed.wait(lock, [&] { return handOver->finished || handOver->dropped; });
        finished = handOver->finished;
    }
    std::lock_guard lock(mutex_);
    pendingHandOver_.reset();
    return finished;
}

}  // namespace platform
