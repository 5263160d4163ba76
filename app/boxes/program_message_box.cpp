#include "app/boxes/program_message_box.h"

#include <QMessageBox>

#include "app/boxes/modal_runner.h"
#include "app/text/qstring_bytes.h"
#include "platform/system_error_text.h"

namespace {

#ifndef _WIN32
// Access is denied both to a port another program has open and to a user outside the port's group.
constexpr char kDialoutAdvice[] =
    "The port may be open in another program. If it is not: serial ports belong to the\n"
    "\"dialout\" group. To be let in, run\n"
    "    sudo usermod -aG dialout $USER\n"
    "and then log out and in again.";
// The chooser lists the ports found at start-up; a listed port that cannot be found any more is
// a USB adapter that was pulled out.
constexpr char kUnpluggedAdvice[] =
    "The port's adapter is not plugged in. Plug it in and press Reset Port again.";
#endif

}  // namespace

QString SystemErrorReason(DWORD systemError) {
    QString reason = FromBytes(platform::SystemErrorText(systemError));
#ifndef _WIN32
    if (systemError == ERROR_ACCESS_DENIED) {
        reason += QStringLiteral("\n\n") + QString::fromLatin1(kDialoutAdvice);
    }
    if (systemError == ERROR_FILE_NOT_FOUND) {
        reason += QStringLiteral("\n\n") + QString::fromLatin1(kUnpluggedAdvice);
    }
#endif
    return reason;
}

void ConfigureProgramMessageBox(QMessageBox& box, const std::string& text,
                                const std::string& caption, DWORD systemError) {
    box.setWindowTitle(FromBytes(caption));
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(FromBytes(text));
    if (systemError != 0) {
        box.setInformativeText(SystemErrorReason(systemError));
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
}

void ShowProgramMessageBox(ModalRunner& runner, QWidget* parent, const std::string& text,
                           const std::string& caption, DWORD systemError) {
    QMessageBox box(parent);
    ConfigureProgramMessageBox(box, text, caption, systemError);
    runner.RunMessageBox(box);
}
