// The window's two file dialogs, for the command file and for saving the log.
#pragma once

#include <QFileDialog>
#include <QString>

inline constexpr char kOpenDialogTitle[] = "Select Q-Dax File";
// The open dialog's starting directory as the program has always written it: a dot and a
// backslash in double quotes, the current directory.
inline constexpr char kOpenDialogInitialDir[] = "\".\\\"";

// A directory written as a system path, possibly quoted and with backslashes, as an absolute
// path; a relative one is taken from the current directory.
QString ResolveDirectory(const QString& written);

// A file dialog that closes only on a file whose directory exists.
class ExistingPathFileDialog : public QFileDialog {
    Q_OBJECT

public:
    using QFileDialog::QFileDialog;

    void accept() override;
};

// Choosing a command file: it must exist; no filter; resizable.
void ConfigureOpenDialog(QFileDialog& dialog);
// Choosing the file the log is saved to: its directory must exist; an existing file is replaced
// without asking; no filter; resizable.
void ConfigureSaveDialog(QFileDialog& dialog);
