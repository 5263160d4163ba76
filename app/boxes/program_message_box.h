// The program's own message box, as the code below the window asks for it: the text, the caption
// and one OK button, no icon. When a system error lies behind the message, the system's reason
// is added below it.
#pragma once

#include <QString>
#include <string>

#include "platform/win32_types.h"

class ModalRunner;
class QMessageBox;
class QWidget;

// The system's text for `systemError`, without its line end; with advice where the cause is
// usually one of a few (on Linux, a port open in another program or refused to a user outside the
// "dialout" group).
QString SystemErrorReason(DWORD systemError);

void ConfigureProgramMessageBox(QMessageBox& box, const std::string& text,
                                const std::string& caption, DWORD systemError);

void ShowProgramMessageBox(ModalRunner& runner, QWidget* parent, const std::string& text,
                           const std::string& caption, DWORD systemError);
