// Qt lets no exception pass out of an event handler, so every handler of the window runs inside
// this guard: an exception is shown in the application's error box and the program goes on.
#pragma once

#include <functional>

class ModalRunner;
class QWidget;

void RunGuarded(ModalRunner& runner, QWidget* parent, const std::function<void()>& handler);
