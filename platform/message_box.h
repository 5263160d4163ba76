// The application's message box (text, caption, one OK button, no icon), as code below the window
// shows it. The application installs the real box at start-up; tests install one of their own.
#pragma once

#include <functional>
#include <string>

#include "platform/win32_types.h"

namespace platform {

// `systemError` is the code behind the message, 0 when there is none; a box may show its text.
using MessageBoxHandler =
    std::function<void(const std::string& text, const std::string& caption, DWORD systemError)>;

// Replaces the handler and returns the one before. Without a handler the message goes to stderr.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Shows the box and returns when it was dismissed. Leaves the last-error slot as it was.
void ShowMessageBox(const std::string& text, const std::string& caption, DWORD systemError = 0);

}  // namespace platform
