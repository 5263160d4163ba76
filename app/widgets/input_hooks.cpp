#include "app/widgets/input_hooks.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

char TypedCharacter(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        return '\r';
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return 0;
    }
    const char16_t code = text.front().unicode();
    return code <= 0xFF ? static_cast<char>(code) : '?';
}

KeyPressHook::KeyPressHook(QWidget& control, std::function<void(char& key)> handler)
    : QObject(&control), handler_(std::move(handler)) {
    control.installEventFilter(this);
}

bool KeyPressHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        char key = TypedCharacter(*static_cast<QKeyEvent*>(event));
        if (key != 0) {
            handler_(key);
            if (key == 0) {
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

// The clicks land on the area's viewport, not on the area itself.
DoubleClickHook::DoubleClickHook(QAbstractScrollArea& area, std::function<void()> handler)
    : QObject(&area), handler_(std::move(handler)) {
    area.viewport()->installEventFilter(this);
}

// Only the primary button's double click: a right or middle one is no command to clear.
bool DoubleClickHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        handler_();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

HardLineBreakHook::HardLineBreakHook(QWidget& area) : QObject(&area) {
    area.installEventFilter(this);
}

// Shift+Enter would put a soft break inside the line, which is sent as one line with a '?' in
// it; it gets the plain Enter's new line instead, undone and read-only-checked as Enter is.
bool HardLineBreakHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::InsertLineSeparator)) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(watched, &enter);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
