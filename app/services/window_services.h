// What the code below the window needs from it while the window lives: the hand-over of received
// data to the window thread and the program's message boxes. Installed for the lifetime of this
// object; the ones before are put back afterwards.
#pragma once

#include "app/services/qt_window_dispatcher.h"
#include "platform/message_box.h"

class TMainForm;

class WindowServices {
public:
    explicit WindowServices(TMainForm& window);
    WindowServices(const WindowServices&) = delete;
    WindowServices& operator=(const WindowServices&) = delete;
    ~WindowServices();

private:
    QtWindowDispatcher dispatcher_;
    platform::WindowDispatcher* previousDispatcher_;
    platform::MessageBoxHandler previousMessageBox_;
};
