#include "app/widgets/escape_closer.h"

#include <QAbstractButton>
#include <QKeyEvent>

EscapeCloser::EscapeCloser(QAbstractButton& cancelButton)
    : QObject(&cancelButton), cancelButton_(cancelButton) {}

void EscapeCloser::Watch(QWidget& control) {
    control.installEventFilter(this);
}

bool EscapeCloser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        constexpr Qt::KeyboardModifiers kChordKeys =
            Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
        if (key->key() == Qt::Key_Escape && (key->modifiers() & kChordKeys) == 0) {
            cancelButton_.click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
