// Interrupts on Windows: the console's control handler runs on a thread the system starts for it.
#include <mutex>
#include <utility>

#include "platform/interrupts.h"
#include "platform/win32_types.h"

namespace platform {

namespace {

std::mutex handlerMutex;
std::function<void()> currentHandler;

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    std::lock_guard lock(handlerMutex);
    if (currentHandler) currentHandler();
    return TRUE;
}

}  // namespace

struct InterruptWatch::Watcher {};

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt)
    : watcher_(std::make_unique<Watcher>()) {
    {
        std::lock_guard lock(handlerMutex);
        currentHandler = std::move(onInterrupt);
    }
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

InterruptWatch::~InterruptWatch() {
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    std::lock_guard lock(handlerMutex);
    currentHandler = nullptr;
}

}  // namespace platform
