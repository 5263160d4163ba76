// Making a test's window the active one, so that keys, shortcuts and the focus reach it. Under
// Wine with no window manager, activation comes late and can be taken away again for a moment
// after it came, so a test asks for it again before every look at where the focus is.
#pragma once

class QWidget;

// Shows `window` and waits until it is active.
bool ShowActive(QWidget& window);

// Waits until `window` is the active window, asking for it again now and then, for a generous
// time; false, with a warning naming what was active instead, when it never is.
bool WaitActive(QWidget& window);

// The control that has the focus once `window` is active; nullptr when it never is.
QWidget* FocusOnceActive(QWidget& window);
