// The window thread's side of the hand-over from the port's reader: tasks are queued into the
// window's event loop and run there inside the window's handler guard, so an exception from a
// line callback shows in the error box and the program goes on.
#pragma once

#include "platform/window_dispatcher.h"

class TMainForm;

class QtWindowDispatcher : public platform::WindowDispatcher {
public:
    explicit QtWindowDispatcher(TMainForm& window);

    // A task still queued when the window is destroyed is dropped with it.
    void Post(std::function<void()> task) override;

private:
    TMainForm& window_;
};
