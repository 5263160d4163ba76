// The thread class on Windows threads: created suspended, and held by really suspending it.
// SuspendThread at an arbitrary point could stop the thread inside a heap or mutex lock that the
// window thread then needs, so the thread suspends itself, holding no lock, where it parks.
#include <process.h>

#include <stdexcept>

#include "platform/thread.h"
#include "platform/win32_types.h"

namespace platform {

struct Thread::OsThread {
    HANDLE handle = nullptr;
    // Suspended, or about to suspend itself, where it parks; guarded by the owner's mutex_.
    // A thread is created suspended, so it starts parked.
    bool parked = true;
};

void Thread::OsThreadDeleter::operator()(OsThread* thread) const {
    if (thread->handle != nullptr) ::CloseHandle(thread->handle);
    delete thread;
}

void Thread::StartOsThread() {
    os_.reset(new OsThread);
    struct Entry {
        static unsigned __stdcall Run(void* thread) {
            static_cast<Thread*>(thread)->Run();
            return 0;
        }
    };
    // _beginthreadex rather than CreateThread: the C runtime sets up its per-thread state.
    os_->handle = reinterpret_cast<HANDLE>(
        ::_beginthreadex(nullptr, 0, &Entry::Run, this, CREATE_SUSPENDED, nullptr));
    if (os_->handle == nullptr) throw std::runtime_error("the system made no thread");
}

void Thread::JoinOsThread() {
    ::WaitForSingleObject(os_->handle, INFINITE);
}

void Thread::DetachOsThread() {
    os_.reset();
}

void Thread::WaitWhileHeld(std::unique_lock<std::mutex>& lock) {
    while (!Released()) {
        os_->parked = true;
        lock.unlock();
        ::SuspendThread(::GetCurrentThread());
        lock.lock();
    }
}

void Thread::WakeParked() {
    if (!os_ || !os_->parked) return;
    os_->parked = false;
    // The thread may have marked itself parked and not yet suspended itself: resume it once it
    // has (a count of 0 means it was still running).
    while (::ResumeThread(os_->handle) == 0) ::SwitchToThread();
}

}  // namespace platform
