// The thread class on POSIX threads, which cannot be suspended from outside: a held thread waits
// on the class's condition where it parks.
#include <thread>

#include "platform/thread.h"

namespace platform {

struct Thread::OsThread {
    std::thread thread;
};

void Thread::OsThreadDeleter::operator()(OsThread* thread) const {
    delete thread;
}

void Thread::StartOsThread() {
    // The new thread takes the lock before anything else, so it finds os_ in place.
    std::lock_guard lock(mutex_);
    os_.reset(new OsThread{std::thread([this] { Run(); })});
}

void Thread::JoinOsThread() {
    os_->thread.join();
}

void Thread::DetachOsThread() {
    os_->thread.detach();
    os_.reset();
}

void Thread::WaitWhileHeld(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return Released(); });
}

void Thread::WakeParked() {
    changed_.notify_all();
}

}  // namespace platform
