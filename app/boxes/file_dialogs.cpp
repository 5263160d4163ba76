#include "app/boxes/file_dialogs.h"

#include <QDir>
#include <QFileInfo>

QString ResolveDirectory(const QString& written) {
    QString path = written;
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"')) {
        path = path.mid(1, path.size() - 2);
    }
    path.replace(u'\\', u'/');
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

void ExistingPathFileDialog::accept() {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && !QFileInfo(files.first()).absoluteDir().exists()) {
        return;
    }
    QFileDialog::accept();
}

// Qt's dialogs have no read-only check box to hide.
void ConfigureOpenDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(QString::fromLatin1(kOpenDialogTitle));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDirectory(ResolveDirectory(QString::fromLatin1(kOpenDialogInitialDir)));
    dialog.setSizeGripEnabled(true);
}

void ConfigureSaveDialog(QFileDialog& dialog) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setSizeGripEnabled(true);
}
