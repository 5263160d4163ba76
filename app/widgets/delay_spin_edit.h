// The command delay field: a spin field in milliseconds whose text is free. The operator may type
// more than the arrows allow; the value is read from the text whenever it is needed and is brought
// into the range only when the field is stepped or left (QAbstractSpinBox rewrites the text from
// its bounded value on focus-out, and that value follows the text as it is typed).
#pragma once

#include <QSpinBox>
#include <cstdint>
#include <functional>

class DelaySpinEdit : public QSpinBox {
    Q_OBJECT

public:
    static constexpr int kMinimum = 0;
    static constexpr int kMaximum = 5000;
    static constexpr int kInitialValue = 50;

    explicit DelaySpinEdit(QWidget* parent = nullptr);

    // The integer the text reads, not limited to the range: a value typed but not yet confirmed
    // counts as it reads. A text that is not an integer reads as 0 and is replaced by "0".
    int32_t Value();

    // Replaces the sound made for a refused key.
    void SetBeep(std::function<void()> beep);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;

private:
    bool IsRefusedKey(const QKeyEvent& event) const;
    // Sets the value, brought into range, and shows it as the text.
    void SetClampedValue(int64_t value);

    std::function<void()> beep_;
};
