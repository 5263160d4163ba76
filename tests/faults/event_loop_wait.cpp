#include "tests/faults/event_loop_wait.h"

#include <QEventLoop>
#include <QTimer>

namespace qdax_fault {
namespace {

constexpr int kCheckIntervalMs = 5;

}  // namespace

bool ServeEventsUntil(const std::function<bool()>& condition, int timeoutMs) {
    if (condition()) return true;
    QEventLoop loop;
    QTimer check;
    check.setInterval(kCheckIntervalMs);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    check.start();
    deadline.start(timeoutMs);
    loop.exec();
    return condition();
}

}  // namespace qdax_fault
