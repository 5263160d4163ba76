#include "app/qt_window_dispatcher.h"

#include <QMetaObject>
#include <utility>

#include "app/daxtest.h"

QtWindowDispatcher::QtWindowDispatcher(TMainForm& window) : window_(window) {}

void QtWindowDispatcher::Post(std::function<void()> task) {
    TMainForm* window = &window_;
    QMetaObject::invokeMethod(
        window, [window, task = std::move(task)] { window->Guard(task); }, Qt::QueuedConnection);
}
