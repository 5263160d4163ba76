// The window thread's side of the hand-over from the port's reader: tasks are queued into the
// window's event loop and run there inside the window's handler guard, so an exception from a
// line callback shows in the error box and the program goes on.
#pragma once

#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/window_dispatcher.h"

class TMainForm;

// Runs the queued tasks on the window thread, one per posted call, in order. A child of the
// window, so calls still posted when the window goes are dropped with it.
class WindowTaskRunner : public QObject {
    Q_OBJECT

public:
    explicit WindowTaskRunner(TMainForm& window);

    // Any thread.
    void Queue(std::function<void()> task);

    Q_INVOKABLE void RunNext();

private:
    TMainForm& window_;
    // The tasks cross threads under a lock of our own, not inside the event Qt posts: what a task
    // holds is then ordered by a lock that checking tools see, and Qt's event carries nothing.
    std::mutex mutex_;
    std::deque<std::function<void()>> queued_;
};

class QtWindowDispatcher : public platform::WindowDispatcher {
public:
    explicit QtWindowDispatcher(TMainForm& window);
    ~QtWindowDispatcher() override;
    QtWindowDispatcher(const QtWindowDispatcher&) = delete;
    QtWindowDispatcher& operator=(const QtWindowDispatcher&) = delete;

    // A task still queued when the window or this dispatcher is destroyed is dropped.
    void Post(std::function<void()> task) override;

private:
    WindowTaskRunner* runner_;
    QPointer<WindowTaskRunner> alive_;
};
