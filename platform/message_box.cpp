#include "platform/message_box.h"

#include <cstdio>
#include <mutex>

#include "platform/last_error.h"

namespace platform {

namespace {
std::mutex handlerMutex;
MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}
}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(handlerMutex);
    std::swap(Handler(), handler);
    return handler;
}

void ShowMessageBox(const std::string& text, const std::string& caption, DWORD systemError) {
    const DWORD lastError = GetLastError();
    MessageBoxHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = Handler();
    }
    if (handler) {
        handler(text, caption, systemError);
    } else {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    SetLastError(lastError);
}

}  // namespace platform
