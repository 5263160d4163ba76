#include "app/widgets/delay_spin_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QProxyStyle>
#include <algorithm>
#include <utility>

#include "app/widgets/delay_reading.h"

namespace {

// A held arrow button steps once on the press, again after 400 ms and then every 100 ms.
constexpr int kAutoRepeatThresholdMs = 400;
constexpr int kAutoRepeatRateMs = 100;

class DelaySpinStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_SpinBox_ClickAutoRepeatThreshold) return kAutoRepeatThresholdMs;
        if (hint == SH_SpinBox_ClickAutoRepeatRate) return kAutoRepeatRateMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

DelayReading ReadText(const QString& text) {
    return ReadDelayText(text.toStdString());
}

}  // namespace

DelaySpinEdit::DelaySpinEdit(QWidget* parent)
    : QSpinBox(parent), beep_([] { QApplication::beep(); }) {
    // The widget does not own its style; as a child the style goes with it.
    auto* style = new DelaySpinStyle;
    style->setParent(this);
    setStyle(style);
    setRange(kMinimum, kMaximum);
    setSingleStep(1);
    setValue(kInitialValue);
}

int32_t DelaySpinEdit::Value() {
    const DelayReading reading = ReadText(text());
    if (!reading.wasInteger) SetClampedValue(0);
    return reading.value;
}

void DelaySpinEdit::SetBeep(std::function<void()> beep) {
    beep_ = std::move(beep);
}

bool DelaySpinEdit::event(QEvent* event) {
    // Escape is an ordinary key here: claiming it keeps the window's Escape shortcut from firing.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QSpinBox::event(event);
}

void DelaySpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (IsRefusedKey(*event)) {
        beep_();
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

bool DelaySpinEdit::IsRefusedKey(const QKeyEvent& event) const {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return true;
    // Control and Meta combinations are editing commands, not typed characters.
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
    const QString decimalPoint = locale().decimalPoint();
    const QString typed = event.text();
    return std::any_of(typed.begin(), typed.end(), [&decimalPoint](QChar c) {
        const bool allowed =
            (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || decimalPoint.contains(c);
        return c.isPrint() && !allowed;
    });
}

void DelaySpinEdit::stepBy(int steps) {
    SetClampedValue(int64_t{Value()} + int64_t{steps} * singleStep());
    selectAll();
}

QAbstractSpinBox::StepEnabled DelaySpinEdit::stepEnabled() const {
    // The text may read beyond either end, so both directions stay open: a step brings it back.
    if (isReadOnly()) return StepNone;
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State DelaySpinEdit::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

int DelaySpinEdit::valueFromText(const QString& text) const {
    return ReadText(text).value;
}

QString DelaySpinEdit::textFromValue(int value) const {
    return QString::number(value);
}

void DelaySpinEdit::SetClampedValue(int64_t value) {
    // Setting the value rewrites the text, even when the value itself does not change.
    setValue(static_cast<int>(std::clamp<int64_t>(value, minimum(), maximum())));
}
