#include "app/services/qt_window_dispatcher.h"

#include <utility>

#include "app/window/daxtest.h"

WindowTaskRunner::WindowTaskRunner(TMainForm& window) : QObject(&window), window_(window) {}

void WindowTaskRunner::Queue(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        queued_.push_back(std::move(task));
    }
    // By name: the call Qt posts holds no data of ours.
    QMetaObject::invokeMethod(this, "RunNext", Qt::QueuedConnection);
}

void WindowTaskRunner::RunNext() {
    std::function<void()> next;
    {
        const std::lock_guard lock(mutex_);
        next = std::move(queued_.front());
        queued_.pop_front();
    }
    window_.Guard(next);
}

QtWindowDispatcher::QtWindowDispatcher(TMainForm& window)
    : runner_(new WindowTaskRunner(window)), alive_(runner_) {}

QtWindowDispatcher::~QtWindowDispatcher() {
    delete alive_.data();
}

void QtWindowDispatcher::Post(std::function<void()> task) {
    runner_->Queue(std::move(task));
}
