#include "app/boxes/handler_guard.h"

#include <exception>

#include "app/boxes/error_box.h"

void RunGuarded(ModalRunner& runner, QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorBox(runner, parent, error.what());
    } catch (...) {
        ShowErrorBox(runner, parent, "Unknown exception");
    }
}
