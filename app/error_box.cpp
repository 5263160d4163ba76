#include "app/error_box.h"

#include <QMessageBox>

#include "app/application_title.h"
#include "app/latin1.h"
#include "app/modal_runner.h"

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
    box.setText(FromBytes(ErrorBoxText(message)));
    box.setStandardButtons(QMessageBox::Ok);
}

void ShowErrorBox(ModalRunner& runner, QWidget* parent, const std::string& message) {
    QMessageBox box(parent);
    ConfigureErrorBox(box, message);
    runner.RunMessageBox(box);
}
