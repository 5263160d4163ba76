#include "app/input_hooks.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
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

bool DoubleClickHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        handler_();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
