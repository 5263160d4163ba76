#include "tests/gui/window_activation.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <QtGlobal>

namespace {

constexpr int kActivationTimeoutMs = 30'000;
// How long a request for activation is given before it is made again.
constexpr int kAskAgainMs = 1'000;

// Active for the window system and for the widgets: only then is the window's focus the
// application's.
bool IsActive(QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->isActive() && window.isActiveWindow();
}

QString Described(const QObject* object) {
    if (object == nullptr) return "nothing";
    return QString("%1 \"%2\"").arg(object->metaObject()->className(), object->objectName());
}

}  // namespace

bool ShowActive(QWidget& window) {
    window.show();
    return WaitActive(window);
}

bool WaitActive(QWidget& window) {
    for (int waited = 0; waited < kActivationTimeoutMs; waited += kAskAgainMs) {
        if (IsActive(window)) return true;
        window.activateWindow();
        if (QTest::qWaitFor([&] { return IsActive(window); }, kAskAgainMs)) return true;
    }
    qWarning(
        "%s never became the active window within %d s: the window system's was %s, the "
        "widgets' %s",
        qPrintable(Described(&window)), kActivationTimeoutMs / 1000,
        qPrintable(Described(QGuiApplication::focusWindow())),
        qPrintable(Described(QApplication::activeWindow())));
    return false;
}

QWidget* FocusOnceActive(QWidget& window) {
    return WaitActive(window) ? QApplication::focusWidget() : nullptr;
}
