// The event and waiting calls: CreateEventA, SetEvent, WaitForSingleObjectEx, SleepEx.
#include <chrono>
#include <memory>
#include <thread>

#include "platform/comm.h"
#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_event.h"
#include "platform/posix/posix_handles.h"

namespace platform {

HANDLE CreateEventA(void* /*securityAttributes*/, BOOL manualReset, BOOL initialState,
                    const char* /*name*/) {
    return posix::RegisterHandle(
        std::make_shared<posix::Event>(manualReset != FALSE, initialState != FALSE));
}

BOOL SetEvent(HANDLE event) {
    std::shared_ptr<posix::Event> object = posix::FindHandleOf<posix::Event>(event);
    if (object == nullptr) return posix::Fail(ERROR_INVALID_HANDLE);
    object->Set();
    return TRUE;
}

// Only events can be waited for; alerts do not exist here, so `alertable` changes nothing.
DWORD WaitForSingleObjectEx(HANDLE object, DWORD milliseconds, BOOL /*alertable*/) {
    std::shared_ptr<posix::Event> event = posix::FindHandleOf<posix::Event>(object);
    if (event == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return event->Wait(milliseconds);
}

DWORD SleepEx(DWORD milliseconds, BOOL /*alertable*/) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return 0;
}

}  // namespace platform
