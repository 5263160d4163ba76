// Escape as the window's cancel key: pressed without Shift, Ctrl or Alt in one of the watched
// controls (the one-line edits, the choosers while closed, the buttons) it presses the cancel
// button. Controls not watched, such as the text areas, get Escape as an ordinary key, and an
// open drop-down list takes it to close itself before its chooser sees it.
#pragma once

#include <QObject>

class QAbstractButton;
class QWidget;

class EscapeCloser : public QObject {
public:
    explicit EscapeCloser(QAbstractButton& cancelButton);

    void Watch(QWidget& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractButton& cancelButton_;
};
