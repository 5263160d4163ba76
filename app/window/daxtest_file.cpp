// Loading the command file into the file area.
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <optional>

#include "app/boxes/modal_runner.h"
#include "app/boxes/program_message_box.h"
#include "app/text/file_names.h"
#include "app/window/daxtest.h"
#include "app/window/text_area_lines.h"
#include "playback/text_files.h"

void TMainForm::PickLoadButtonClick() {
    if (!LoadEdit->text().isEmpty()) {
        OpenDialog->selectFile(LoadEdit->text());
    }
    const std::optional<QString> chosen = Modal().RunFileDialog(*OpenDialog);
    if (!chosen) {
        return;
    }
    LoadEdit->setText(*chosen);
    // Cleared first: a file that then fails to load leaves the area empty.
    UploadFile->clear();
    LoadFileIntoArea(LoadEdit->text());
    GoButton->setEnabled(true);
}

void TMainForm::LoadEditKeyPress(char& key) {
    if (key != '\r') {
        return;
    }
    key = 0;
    LoadFileIntoArea(LoadEdit->text());
}

// "Open" loads the named file, as Enter in the file name does.
void TMainForm::GoButtonClick() {
    if (LoadEdit->text().isEmpty()) {
        ShowProgramMessageBox(Modal(), this, "No File Selected", "Can't Load File", 0);
        return;
    }
    LoadFileIntoArea(LoadEdit->text());
}

// Removed as an edit, not cleared: the area's undo (Ctrl+Z) brings an unsaved edit back.
void TMainForm::UploadFileDblClick() {
    QTextCursor everything(UploadFile->document());
    everything.select(QTextCursor::Document);
    everything.removeSelectedText();
}

void TMainForm::LoadFileIntoArea(const QString& fileName) {
    SetLines(*UploadFile, LoadCommandFile(ToFileName(fileName)));
}
