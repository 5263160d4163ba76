// Loading the command file into the file area: by the picker, by Enter in the file name, by the
// Open button; and clearing the area.
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/services/application_title.h"
#include "app/window/daxtest.h"
#include "app/window/text_area_lines.h"
#include "gui_support.h"
#include "playback/text_files.h"

namespace {

QStringList AreaLines(const QPlainTextEdit& area) {
    QStringList lines;
    for (int i = 0; i < LineCount(area); ++i) {
        lines.append(LineAt(area, i));
    }
    return lines;
}

}  // namespace

class FileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }
    void init();
    void cleanup() { test_.reset(); }

    void pickerLoadsTheChosenFile();
    void pickerPresetsTheDialogWithTheTypedName();
    void cancellingThePickerChangesNothing();
    void aPickedFileThatCannotBeOpenedLeavesTheAreaEmpty();
    void enterLoadsTheNamedFile_data();
    void enterLoadsTheNamedFile();
    void enterOnAFileThatCannotBeOpenedKeepsTheArea_data();
    void enterOnAFileThatCannotBeOpenedKeepsTheArea();
    void aFileTooLargeForTheAreaIsRefused();
    void openWithoutANameAsksForOne();
    void openLoadsTheNamedFile();
    void onlyAPrimaryDoubleClickEmptiesTheArea_data();
    void onlyAPrimaryDoubleClickEmptiesTheArea();
    void everyTypedLineBreakIsANewLine_data();
    void everyTypedLineBreakIsANewLine();
    void loadingLeavesPlaybackWhereItWas();

private:
    QString WriteFile(const QString& name, const QByteArray& bytes);

    QTemporaryDir files_;
    std::unique_ptr<TestWindow> test_;
    TMainForm* window_ = nullptr;
};

void FileTest::init() {
    test_ = std::make_unique<TestWindow>(std::vector<TestPort>{{"COM1", "One"}, {"COM2", "Two"}});
    window_ = test_->form.get();
}

QString FileTest::WriteFile(const QString& name, const QByteArray& bytes) {
    const QString path = files_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void FileTest::pickerLoadsTheChosenFile() {
    const QString path = WriteFile("three.txt", "VER\r\nRUN 1\r\nSTOP");
    test_->runner.fileAnswer = path;
    window_->GoButton->setEnabled(false);

    window_->PickLoadButton->click();

    QVERIFY(test_->runner.boxes.empty());
    QCOMPARE(test_->runner.dialogTitles, std::vector<QString>{"Select Q-Dax File"});
    QCOMPARE(window_->LoadEdit->text(), path);
    QCOMPARE(AreaLines(*window_->UploadFile), (QStringList{"VER", "RUN 1", "STOP"}));
    QVERIFY(window_->GoButton->isEnabled());
}

void FileTest::pickerPresetsTheDialogWithTheTypedName() {
    const QString path = WriteFile("typed.txt", "A\r\n");
    window_->LoadEdit->setText(path);
    test_->runner.fileAnswer.reset();

    window_->PickLoadButton->click();

    QCOMPARE(test_->runner.dialogPresets.size(), std::size_t{1});
    QCOMPARE(test_->runner.dialogPresets[0], QStringList{path});
}

void FileTest::cancellingThePickerChangesNothing() {
    window_->LoadEdit->setText("before.txt");
    test_->runner.fileAnswer.reset();

    window_->PickLoadButton->click();

    QCOMPARE(window_->LoadEdit->text(), QString("before.txt"));
    QCOMPARE(AreaLines(*window_->UploadFile), (QStringList{"COM1", "COM2"}));
    QVERIFY(test_->runner.boxes.empty());
}

void FileTest::aPickedFileThatCannotBeOpenedLeavesTheAreaEmpty() {
    const QString missing = files_.filePath("gone.txt");
    test_->runner.fileAnswer = missing;

    window_->PickLoadButton->click();

    QCOMPARE(test_->runner.boxes.size(), std::size_t{1});
    QCOMPARE(test_->runner.boxes[0].text, "Cannot open file " + missing + ".");
    QCOMPARE(test_->runner.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(window_->LoadEdit->text(), missing);
    QVERIFY(window_->UploadFile->toPlainText().isEmpty());
}

void FileTest::enterLoadsTheNamedFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("CR LF, the last line unended")
        << QByteArray("a\r\nb\r\nc") << QByteArrayList{"a", "b", "c"};
    QTest::newRow("lone line feeds") << QByteArray("a\nb\nc\n") << QByteArrayList{"a", "b", "c"};
    QTest::newRow("lone carriage returns") << QByteArray("a\rb\r") << QByteArrayList{"a", "b"};
    QTest::newRow("empty file") << QByteArray() << QByteArrayList{};
    QTest::newRow("empty lines are commands")
        << QByteArray("a\r\n\r\nb\r\n\r\n") << QByteArrayList{"a", "", "b", ""};
    QTest::newRow("up to a NUL byte")
        << QByteArray("a\r\nb\0c\r\nd", 9) << QByteArrayList{"a", "b"};
    QTest::newRow("8-bit text") << QByteArray("caf\xe9\r\n") << QByteArrayList{"caf\xe9"};
}

void FileTest::enterLoadsTheNamedFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, lines);
    QStringList expected;
    for (const QByteArray& line : lines) {
        expected.append(QString::fromLatin1(line));
    }
    window_->LoadEdit->setText(WriteFile("commands.txt", bytes));

    QTest::keyClick(window_->LoadEdit, Qt::Key_Return);

    QVERIFY(test_->runner.boxes.empty());
    QCOMPARE(AreaLines(*window_->UploadFile), expected);
    QCOMPARE(window_->LoadEdit->text(), files_.filePath("commands.txt"));  // Enter swallowed
}

void FileTest::enterOnAFileThatCannotBeOpenedKeepsTheArea_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << "/nonexistent-qdax/x.txt"
                                  << "Cannot open file /nonexistent-qdax/x.txt.";
    QTest::newRow("empty name") << QString() << "Cannot open file ";
}

void FileTest::enterOnAFileThatCannotBeOpenedKeepsTheArea() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    window_->LoadEdit->setText(name);

    QTest::keyClick(window_->LoadEdit, Qt::Key_Return);

    QCOMPARE(test_->runner.boxes.size(), std::size_t{1});
    QCOMPARE(test_->runner.boxes[0].text, message);
    QCOMPARE(AreaLines(*window_->UploadFile), (QStringList{"COM1", "COM2"}));
}

void FileTest::aFileTooLargeForTheAreaIsRefused() {
    const QString path = WriteFile("large.txt", QByteArray(qsizetype(kFileAreaCapacity) + 1, 'x'));
    window_->LoadEdit->setText(path);

    QTest::keyClick(window_->LoadEdit, Qt::Key_Return);

    QCOMPARE(test_->runner.boxes.size(), std::size_t{1});
    QCOMPARE(test_->runner.boxes[0].text, QString("Text exceeds memo capacity."));
    QCOMPARE(AreaLines(*window_->UploadFile), (QStringList{"COM1", "COM2"}));
}

void FileTest::openWithoutANameAsksForOne() {
    window_->GoButton->click();

    QCOMPARE(test_->runner.boxes.size(), std::size_t{1});
    const RecordedBox& box = test_->runner.boxes[0];
    QCOMPARE(box.text, QString("No File Selected"));
    QCOMPARE(box.caption, QString("Can't Load File"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(box.informativeText.isEmpty());
    QCOMPARE(AreaLines(*window_->UploadFile), (QStringList{"COM1", "COM2"}));
}

void FileTest::openLoadsTheNamedFile() {
    window_->LoadEdit->setText(WriteFile("go.txt", "ONE\r\nTWO\r\n"));

    window_->GoButton->click();

    QVERIFY(test_->runner.boxes.empty());
    QCOMPARE(AreaLines(*window_->UploadFile), (QStringList{"ONE", "TWO"}));
}

void FileTest::onlyAPrimaryDoubleClickEmptiesTheArea_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("primary") << Qt::LeftButton << QStringList{};
    QTest::newRow("secondary") << Qt::RightButton << QStringList{"COM1", "COM2"};
}

void FileTest::onlyAPrimaryDoubleClickEmptiesTheArea() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(QStringList, left);
    QPlainTextEdit& area = *window_->UploadFile;
    QTest::mouseDClick(area.viewport(), button);
    QCOMPARE(AreaLines(area), left);
    QCOMPARE(area.toPlainText().isEmpty(), left.isEmpty());

    // The clear is an edit: Ctrl+Z brings the text back.
    QTest::keyClick(&area, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(AreaLines(area), (QStringList{"COM1", "COM2"}));
}

void FileTest::everyTypedLineBreakIsANewLine_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Enter") << Qt::Key_Return << Qt::KeyboardModifiers{};
    QTest::newRow("Shift+Enter") << Qt::Key_Return << Qt::KeyboardModifiers{Qt::ShiftModifier};
    QTest::newRow("Shift+keypad Enter")
        << Qt::Key_Enter << Qt::KeyboardModifiers{Qt::ShiftModifier | Qt::KeypadModifier};
}

void FileTest::everyTypedLineBreakIsANewLine() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QPlainTextEdit& area = *window_->UploadFile;
    area.clear();
    area.setFocus();

    QTest::keyClicks(&area, "AB");
    QTest::keyClick(&area, key, modifiers);
    QTest::keyClicks(&area, "CD");

    QCOMPARE(AreaLines(area), (QStringList{"AB", "CD"}));
}

void FileTest::loadingLeavesPlaybackWhereItWas() {
    window_->NextLine = 2;
    window_->Playing = true;
    window_->LoadEdit->setText(WriteFile("next.txt", "a\r\nb\r\nc\r\n"));

    QTest::keyClick(window_->LoadEdit, Qt::Key_Return);

    QCOMPARE(window_->NextLine, 2);
    QCOMPARE(window_->Playing, true);
}

QTEST_MAIN(FileTest)
#include "file_test.moc"
