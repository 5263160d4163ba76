// The event objects behind CreateEventA: manual or auto reset, with the lock and condition that
// also guard every completion record naming the event, so a waiter and the thread completing an
// operation never touch the record at the same time.
#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/posix/posix_handles.h"
#include "platform/win32_types.h"

namespace platform::posix {

class Event : public KernelObject {
public:
    static constexpr Kind kKind = Kind::Event;

    Event(bool manualReset, bool initiallySignalled);

    void Set();
    // WAIT_OBJECT_0 once signalled (an auto-reset event is reset by the wait), or WAIT_TIMEOUT.
    DWORD Wait(DWORD milliseconds);

    // For completion records: the caller holds Mutex() around these.
    std::mutex& Mutex() { return mutex_; }
    std::condition_variable& Changed() { return changed_; }
    void SetLocked();
    void ResetLocked() { signalled_ = false; }
    // A wait that has seen its condition takes the signal of an auto-reset event.
    void ConsumeLocked();

private:
    const bool manualReset_;
    bool signalled_;
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace platform::posix
