#include "platform/posix/posix_event.h"

#include <chrono>

namespace platform::posix {

Event::Event(bool manualReset, bool initiallySignalled)
    : KernelObject(kKind), manualReset_(manualReset), signalled_(initiallySignalled) {}

void Event::Set() {
    std::lock_guard lock(mutex_);
    SetLocked();
}

void Event::SetLocked() {
    signalled_ = true;
    changed_.notify_all();
}

void Event::ConsumeLocked() {
    if (!manualReset_) signalled_ = false;
}

DWORD Event::Wait(DWORD milliseconds) {
    std::unique_lock lock(mutex_);
    const auto signalled = [this] { return signalled_; };
    if (milliseconds == INFINITE) {
        changed_.wait(lock, signalled);
    } else if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), signalled)) {
        return WAIT_TIMEOUT;
    }
    ConsumeLocked();
    return WAIT_OBJECT_0;
}

}  // namespace platform::posix
