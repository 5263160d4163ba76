#include "platform/window_dispatcher.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
std::atomic<WindowDispatcher*> installed{nullptr};
}

WindowDispatcher* InstallWindowDispatcher(WindowDispatcher* dispatcher) {
    return installed.exchange(dispatcher);
}

WindowDispatcher& ActiveWindowDispatcher() {
    WindowDispatcher* dispatcher = installed.load();
    if (dispatcher == nullptr) {
        // A hand-over with nowhere to go would wait forever; that is a programming error.
        std::fputs("no window dispatcher installed\n", stderr);
        std::abort();
    }
    return *dispatcher;
}

}  // namespace platform
