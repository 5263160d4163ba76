// Event handlers of the window that Qt has no signal for: the character a key types in a one-line
// edit, which the handler may swallow by setting it to 0, and a double click on a text area; and
// a text area whose typed line breaks are all new lines.
#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QAbstractScrollArea;
class QWidget;

// The character of a key press: carriage return for Enter, else the typed character as 8-bit
// text; 0 when the key types nothing.
char TypedCharacter(const QKeyEvent& event);

class KeyPressHook : public QObject {
public:
    KeyPressHook(QWidget& control, std::function<void(char& key)> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(char& key)> handler_;
};

class DoubleClickHook : public QObject {
public:
    DoubleClickHook(QAbstractScrollArea& area, std::function<void()> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> handler_;
};

class HardLineBreakHook : public QObject {
public:
    explicit HardLineBreakHook(QWidget& area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
