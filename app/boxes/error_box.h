// The application's error box: how an exception that left an event handler is shown.
#pragma once

#include <string>

class ModalRunner;
class QMessageBox;
class QWidget;

// The message as the box shows it: a full stop is added when the last character has a code above
// that of the full stop, so "Done." and "Really?!" stay and "Cannot open file x" gains one.
std::string ErrorBoxText(const std::string& message);

// Sets up `box` as the error box for `message`: the application title as caption, the stop icon
// and an OK button.
void ConfigureErrorBox(QMessageBox& box, const std::string& message);

void ShowErrorBox(ModalRunner& runner, QWidget* parent, const std::string& message);
