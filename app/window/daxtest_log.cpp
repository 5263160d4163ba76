// Sending commands, logging what travels over the port, and saving the log.
#include <QLineEdit>
#include <optional>

#include "app/boxes/file_dialogs.h"
#include "app/boxes/modal_runner.h"
#include "app/text/file_names.h"
#include "app/text/qstring_bytes.h"
#include "app/window/daxtest.h"
#include "playback/log_lines.h"
#include "playback/text_files.h"
#include "serial/serial_port_info.h"

void TMainForm::SendCommand(const std::string& text) {
    SendLog->AppendLine(SentLogLine(text));
    Port->SerialPortWrite(CommandOnTheWire(text));
}

void TMainForm::OnLineReceived(const char* line) {
    playback_.LineReceived(line);
}

void TMainForm::ManualEntryKeyPress(char& key) {
    if (Port == nullptr || key != '\r') {
        return;
    }
    SendCommand(ToBytes(ManualEntry->text()));
    key = 0;
    // Typing replaces the command; another Enter sends it again.
    ManualEntry->selectAll();
}

void TMainForm::SendLogDblClick() {
    SendLog->clear();
}

void TMainForm::SaveEditKeyPress(char& key) {
    if (key != '\r') {
        return;
    }
    key = 0;
    SaveLog(SaveEdit->text());
}

void TMainForm::PickSaveButtonClick() {
    if (!SaveEdit->text().isEmpty()) {
        SaveDialog->selectFile(SaveEdit->text());
    }
    const std::optional<QString> chosen = Modal().RunFileDialog(*SaveDialog);
    if (!chosen) {
        return;
    }
    SaveEdit->setText(*chosen);
    SaveLog(*chosen);
}

void TMainForm::SaveLog(const QString& fileName) {
    SaveLogFile(ToFileName(fileName), SendLog->LineCount(),
                [this](std::size_t index) { return SendLog->LineBytes(index); });
}
