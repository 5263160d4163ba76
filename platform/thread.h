// A background thread that is created held, can be held and released, asked to stop, and hands
// work to the window thread. The body does its progress inside Step(), and a held thread starts
// no step and hands nothing over: it parks at the next Step or Synchronize. Holding waits only for
// a step in progress, never for a hand-over, so it cannot deadlock against one.
// Backends: on POSIX, whose threads cannot be suspended from outside, a parked thread waits on a
// condition (posix/posix_thread.cpp); on Windows the system suspends it (win32/win32_thread.cpp).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace platform {

// Tells when a thread's body has returned and, for a self-freeing thread, the object is gone.
class ThreadExit {
public:
    void Wait();
    bool Done();
    void Signal();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
};

class Thread {
public:
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    virtual ~Thread();

    // Hold: two-state. Returns once no step is in progress; from then on the body makes no
    // progress until Resume. Must not be called from the thread itself.
    void Suspend();
    // Release: one call lets a held thread run, however often it was held.
    void Resume();
    bool Suspended() const;

    // Stop request: the body sees it through Terminated(); a held thread is let go so that its
    // body can end, and a hand-over that has not begun on the window thread is dropped.
    void Terminate();
    bool Terminated() const;

    // The object deletes itself when the body returns. Set before the first Resume.
    void SetFreeOnTerminate(bool freeOnTerminate);
    std::shared_ptr<ThreadExit> ExitSignal() const { return exit_; }

    // How many times a hold was released; lets the body notice that it was held meanwhile.
    std::uint64_t ReleaseCount() const;

protected:
    Thread();  // created held

    virtual void Execute() = 0;
    // Runs under the thread's lock when a stop is requested, before waiting threads are woken.
    virtual void OnTerminateRequested() {}

    // Runs `progress` unless a stop is requested, waiting first while held. Suspend waits until
    // it has finished. Returns false, without running it, when a stop was requested.
    bool Step(const std::function<void()>& progress);

    // Runs `method` on the window thread and waits until it has finished there. Waits first
    // while held. Returns false when it was dropped because a stop was requested.
    bool Synchronize(std::function<void()> method);

private:
    struct HandOver;
    void Run();
    bool Released() const { return !held_ || stopRequested_; }

    // The system's thread behind the object; each backend defines these.
    struct OsThread;
    struct OsThreadDeleter {
        void operator()(OsThread* thread) const;
    };
    // Starts the system thread, which runs Run() and parks at once.
    void StartOsThread();
    // Waits until the system thread has ended.
    void JoinOsThread();
    // Lets the system thread go its own way (os_ becomes empty): the object frees itself.
    void DetachOsThread();
    // With `lock` on mutex_, on the thread itself: returns once Released().
    void WaitWhileHeld(std::unique_lock<std::mutex>& lock);
    // With mutex_ held: a thread parked in WaitWhileHeld goes on and looks again.
    void WakeParked();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = true;
    bool inStep_ = false;
    std::atomic<bool> stopRequested_{false};
    bool freeOnTerminate_ = false;
    std::uint64_t releases_ = 0;
    std::shared_ptr<HandOver> pendingHandOver_;
    std::shared_ptr<ThreadExit> exit_;
    std::unique_ptr<OsThread, OsThreadDeleter> os_;
};

}  // namespace platform
