#include "app/boxes/error_box.h"

#include <QByteArray>
#include <QFile>
#include <QMessageBox>

#include "app/boxes/modal_runner.h"
#include "app/services/application_title.h"

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + '.';
    }
    return message;
}

void ConfigureErrorBox(QMessageBox& box, const std::string& message) {
    box.setWindowTitle(ApplicationTitle());
    box.setIcon(QMessageBox::Critical);
    box.setTextFormat(Qt::PlainText);
    // The messages that carry more than ASCII carry file names, in the system's file-name
    // encoding: decode them as such, so a name shows as the operator typed it.
    const std::string text = ErrorBoxText(message);
    box.setText(QFile::decodeName(QByteArray(text.data(), static_cast<qsizetype>(text.size()))));
    box.setStandardButtons(QMessageBox::Ok);
}

void ShowErrorBox(ModalRunner& runner, QWidget* parent, const std::string& message) {
    QMessageBox box(parent);
    ConfigureErrorBox(box, message);
    runner.RunMessageBox(box);
}
