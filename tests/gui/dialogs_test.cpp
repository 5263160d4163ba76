// The two file dialogs as the window sets them up, the starting directory, the dialog that
// closes only on an existing directory, and the program's runner that executes boxes modally.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/boxes/file_dialogs.h"
#include "app/boxes/modal_runner.h"
#include "app/services/application_title.h"
#include "app/window/daxtest.h"
#include "gui_support.h"

namespace {

// Answers the next modal widget with `answer` as soon as it is up; checks every 10 ms. A box
// that the answer failed to close is rejected after a few seconds, so a test fails, not hangs.
void AnswerNextModal(std::function<void(QWidget&)> answer) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            answer(*modal);
            QTimer::singleShot(5000, modal, [modal] {
                if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible()) {
                    dialog->done(-1);
                }
            });
        }
    });
    poll->start(10);
}

// Types `path` into the dialog's file name line, as the operator would, and accepts it.
void TypeFileName(QFileDialog& dialog, const QString& path) {
    dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
    QMetaObject::invokeMethod(&dialog, "accept");
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void openDialogChoosesAnExistingFileFromTheCurrentDirectory();
    void saveDialogReplacesWithoutAskingAndHasTheDefaultTitle();
    void dialogsBelongToTheWindow();
    void writtenDirectoriesResolveFromTheCurrentDirectory_data();
    void writtenDirectoriesResolveFromTheCurrentDirectory();
    void saveDialogStaysOpenOnAMissingDirectory();
    void execRunnerReturnsTheChosenFile();
    void execRunnerReturnsNothingWhenCancelled();
    void execRunnerShowsAMessageBoxUntilDismissed();
};

void DialogsTest::openDialogChoosesAnExistingFileFromTheCurrentDirectory() {
    TestWindow test;
    TMainForm& window = *test.form;
    QFileDialog& dialog = *window.OpenDialog;

    QCOMPARE(dialog.objectName(), QString("OpenDialog"));
    QCOMPARE(dialog.windowTitle(), QString("Select Q-Dax File"));
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(dialog.directory().absolutePath(), QDir::currentPath());
    QVERIFY(dialog.isSizeGripEnabled());
    QVERIFY(!dialog.testOption(QFileDialog::ReadOnly));
    QVERIFY(dialog.nameFilters().size() <= 1);
    QVERIFY(dialog.nameFilters().isEmpty() || dialog.nameFilters().first().contains("(*)"));
}

void DialogsTest::saveDialogReplacesWithoutAskingAndHasTheDefaultTitle() {
    TestWindow test;
    TMainForm& window = *test.form;
    QFileDialog& dialog = *window.SaveDialog;

    QCOMPARE(dialog.objectName(), QString("SaveDialog"));
    QFileDialog fresh;
    fresh.setAcceptMode(QFileDialog::AcceptSave);
    QCOMPARE(dialog.windowTitle(), fresh.windowTitle());
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
    QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    QVERIFY(dialog.isSizeGripEnabled());
    QVERIFY(dialog.nameFilters().size() <= 1);
}

void DialogsTest::dialogsBelongToTheWindow() {
    TestWindow test;
    TMainForm& window = *test.form;
    QCOMPARE(window.OpenDialog->parentWidget(), &window);
    QCOMPARE(window.SaveDialog->parentWidget(), &window);
    QVERIFY(window.OpenDialog->isWindow());
    QVERIFY(!window.OpenDialog->isVisible());
}

void DialogsTest::writtenDirectoriesResolveFromTheCurrentDirectory_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("resolved");
    const QString here = QDir::currentPath();
    QTest::newRow("the open dialog's own") << QString::fromLatin1(kOpenDialogInitialDir) << here;
    QTest::newRow("quoted subdirectory") << "\"logs\\today\"" << here + "/logs/today";
    QTest::newRow("unquoted dot") << "." << here;
    QTest::newRow("empty") << "" << here;
#ifdef _WIN32
    QTest::newRow("absolute") << "\"C:\\Windows\""
                              << "C:/Windows";
#else
    QTest::newRow("absolute") << "\"/tmp\""
                              << "/tmp";
#endif
    QTest::newRow("parent") << "..\\" << QDir::cleanPath(here + "/..");
}

void DialogsTest::writtenDirectoriesResolveFromTheCurrentDirectory() {
    QFETCH(QString, written);
    QFETCH(QString, resolved);
    QCOMPARE(QString::fromLatin1(kOpenDialogInitialDir).size(), 4);
    QCOMPARE(ResolveDirectory(written), resolved);
}

void DialogsTest::saveDialogStaysOpenOnAMissingDirectory() {
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    ExistingPathFileDialog dialog;
    ConfigureSaveDialog(dialog);
    // The check is for Qt's own dialog; Windows' native one refuses a missing folder itself.
    dialog.setOption(QFileDialog::DontUseNativeDialog);

    dialog.selectFile(temp.filePath("missing/log.txt"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    dialog.selectFile(temp.filePath("log.txt"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void DialogsTest::execRunnerReturnsTheChosenFile() {
    QTemporaryDir temp;
    const QString path = temp.filePath("commands.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QFileDialog dialog;
    ConfigureOpenDialog(dialog);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    AnswerNextModal(
        [path](QWidget& modal) { TypeFileName(*qobject_cast<QFileDialog*>(&modal), path); });

    const std::optional<QString> chosen = ExecModalRunner().RunFileDialog(dialog);

    QVERIFY(chosen.has_value());
    QCOMPARE(QFileInfo(*chosen).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
}

void DialogsTest::execRunnerReturnsNothingWhenCancelled() {
    QFileDialog dialog;
    ConfigureOpenDialog(dialog);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    AnswerNextModal([](QWidget& modal) { qobject_cast<QDialog*>(&modal)->reject(); });

    QVERIFY(!ExecModalRunner().RunFileDialog(dialog).has_value());
}

void DialogsTest::execRunnerShowsAMessageBoxUntilDismissed() {
    QMessageBox box(QMessageBox::NoIcon, "Can't Load File", "No File Selected", QMessageBox::Ok);
    bool wasShown = false;
    AnswerNextModal([&](QWidget& modal) {
        wasShown = &modal == &box;
        box.button(QMessageBox::Ok)->click();
    });

    ExecModalRunner().RunMessageBox(box);

    QVERIFY(wasShown);
    QVERIFY(!box.isVisible());
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
