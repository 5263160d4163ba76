// Makers of the window's kinds of control, each named so that it can be found by name.
#pragma once

#include <QIcon>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;

// Sets the name and, when there is one, the hint (tooltip).
void NameControl(QWidget& control, const char* name, const char* hint = nullptr);

// A raised panel with a one-pixel bevel.
QFrame* NewPanel(const char* name);

// A caption whose access key moves the focus to `buddy`.
QLabel* NewLabel(const char* name, const char* caption, const char* hint, QWidget* buddy);

// A push button; with an icon the picture is shown in front of the caption.
QPushButton* NewPushButton(const char* name, const char* caption, const char* hint,
                           const QIcon& image = QIcon(), int imageSize = 0);

// A small button, pressed with the mouse only (it never takes the focus), with a caption or a
// picture.
QToolButton* NewToolButton(const char* name, const char* caption, const char* hint);
QToolButton* NewToolButton(const char* name, const QIcon& image, int imageSize, const char* hint);

// A multi-line text area with a vertical scroll bar that is always shown, Tab moving the focus.
QPlainTextEdit* NewTextArea(const char* name, const char* hint);
