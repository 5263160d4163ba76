// Commands typed by the operator, lines from the device, and the communications log with its
// clearing and saving.
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/application_title.h"
#include "app/daxtest.h"
#include "app/window_services.h"
#include "fake_device.h"
#include "gui_support.h"

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class LogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }
    void init();
    void cleanup();

    void enterSendsTheTypedCommandAndSelectsIt();
    void enterInAnEmptyFieldSendsALoneCarriageReturn();
    void otherKeysAreTypedAsUsual();
    void enterDoesNothingBeforeThePortObjectExists();
    void answerEndedByCrLfGivesOneLogLine();
    void twoAnswersInOneChunkGiveTwoLinesInOrder();
    void eightBitAnswersKeepEveryByte();
    void emptyLinesAreNotLogged();
    void doubleClickEmptiesTheLog();
    void enterInTheSaveFieldWritesTheLogWithCrLf_data();
    void enterInTheSaveFieldWritesTheLogWithCrLf();
    void savingReplacesAnExistingFile();
    void aFileThatCannotBeCreatedIsReportedAndTheLogStays_data();
    void aFileThatCannotBeCreatedIsReportedAndTheLogStays();
    void pickerSavesToTheChosenFile();
    void pickerPresetsTheDialogWithTheTypedName();
    void cancellingThePickerSavesNothing();

private:
    void ResetPort();

    QTemporaryDir files_;
    std::unique_ptr<PortsDirectory> ports_;
    std::unique_ptr<FakeDevice> device_;
    std::unique_ptr<TestWindow> test_;
    TMainForm* window_ = nullptr;
};

void LogTest::init() {
    ports_ = std::make_unique<PortsDirectory>();
    device_ = std::make_unique<FakeDevice>(*ports_, 3);
    test_ = std::make_unique<TestWindow>(
        std::vector<TestPort>{{"COM1", "One"}, {device_->ComName(), "Device"}});
    window_ = test_->form.get();
}

void LogTest::cleanup() {
    test_.reset();
    device_.reset();
    ports_.reset();
}

void LogTest::ResetPort() {
    window_->SetPortButton->click();
    QVERIFY(window_->Port != nullptr);
    QVERIFY(test_->runner.boxes.empty());
}

void LogTest::enterSendsTheTypedCommandAndSelectsIt() {
    ResetPort();
    QTest::keyClicks(window_->ManualEntry, "VER");

    QTest::keyClick(window_->ManualEntry, Qt::Key_Return);

    QVERIFY(device_->WaitForBytes(4));
    QCOMPARE(device_->Received(), std::string("VER\r"));
    QCOMPARE(window_->SendLog->toPlainText(), QString("--> VER"));
    QCOMPARE(window_->ManualEntry->text(), QString("VER"));
    QCOMPARE(window_->ManualEntry->selectedText(), QString("VER"));

    QTest::keyClick(window_->ManualEntry, Qt::Key_Enter);  // the keypad's Enter too
    QVERIFY(device_->WaitForBytes(8));
    QCOMPARE(device_->Received(), std::string("VER\rVER\r"));
    QCOMPARE(window_->SendLog->toPlainText(), QString("--> VER\n--> VER"));

    QTest::keyClicks(window_->ManualEntry, "X");
    QCOMPARE(window_->ManualEntry->text(), QString("X"));
}

void LogTest::enterInAnEmptyFieldSendsALoneCarriageReturn() {
    ResetPort();
    QTest::keyClick(window_->ManualEntry, Qt::Key_Return);

    QVERIFY(device_->WaitForBytes(1));
    QCOMPARE(device_->Received(), std::string("\r"));
    QCOMPARE(window_->SendLog->toPlainText(), QString("--> "));
}

void LogTest::otherKeysAreTypedAsUsual() {
    ResetPort();
    QTest::keyClicks(window_->ManualEntry, "AT+1");
    QTest::keyClick(window_->ManualEntry, Qt::Key_Backspace);

    QCOMPARE(window_->ManualEntry->text(), QString("AT+"));
    device_->Settle(100);
    QCOMPARE(device_->Received(), std::string());
    QVERIFY(window_->SendLog->toPlainText().isEmpty());
}

void LogTest::enterDoesNothingBeforeThePortObjectExists() {
    window_->ManualEntry->setEnabled(true);  // as no operator can: it starts disabled
    QTest::keyClicks(window_->ManualEntry, "VER");
    QTest::keyClick(window_->ManualEntry, Qt::Key_Return);

    QVERIFY(window_->SendLog->toPlainText().isEmpty());
    QCOMPARE(window_->ManualEntry->text(), QString("VER"));
    QVERIFY(test_->runner.boxes.empty());
}

void LogTest::answerEndedByCrLfGivesOneLogLine() {
    ResetPort();
    device_->Send("OK\r\n");

    QTRY_COMPARE(window_->SendLog->toPlainText(), QString("<-- OK"));
    device_->Settle(200);
    QCOMPARE(window_->SendLog->toPlainText(), QString("<-- OK"));
}

void LogTest::twoAnswersInOneChunkGiveTwoLinesInOrder() {
    ResetPort();
    device_->Send("X\rY\r");
    QTRY_COMPARE(window_->SendLog->toPlainText(), QString("<-- X\n<-- Y"));
}

void LogTest::eightBitAnswersKeepEveryByte() {
    ResetPort();
    device_->Send("\xe9t\xe9\x7f\r");
    QTRY_COMPARE(window_->SendLog->toPlainText(), QString::fromLatin1("<-- \xe9t\xe9\x7f"));

    const QString path = files_.filePath("eight-bit.log");
    window_->SaveEdit->setText(path);
    QTest::keyClick(window_->SaveEdit, Qt::Key_Return);
    QCOMPARE(FileBytes(path), QByteArray("<-- \xe9t\xe9\x7f\r\n"));
}

void LogTest::emptyLinesAreNotLogged() {
    ResetPort();
    window_->OnLineReceived("");
    QVERIFY(window_->SendLog->toPlainText().isEmpty());
    window_->OnLineReceived("A");
    window_->OnLineReceived("");
    QCOMPARE(window_->SendLog->toPlainText(), QString("<-- A"));
}

void LogTest::doubleClickEmptiesTheLog() {
    ResetPort();
    window_->OnLineReceived("one");
    window_->SendCommand("two");
    QTest::mouseDClick(window_->SendLog->viewport(), Qt::LeftButton);

    QVERIFY(window_->SendLog->toPlainText().isEmpty());
    window_->OnLineReceived("three");
    QCOMPARE(window_->SendLog->toPlainText(), QString("<-- three"));
}

void LogTest::enterInTheSaveFieldWritesTheLogWithCrLf_data() {
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("three entries")
        << QStringList{"a", "b", "c"} << QByteArray("<-- a\r\n<-- b\r\n<-- c\r\n");
    QTest::newRow("empty log") << QStringList{} << QByteArray("");
}

void LogTest::enterInTheSaveFieldWritesTheLogWithCrLf() {
    QFETCH(QStringList, received);
    QFETCH(QByteArray, saved);
    ResetPort();
    for (const QString& line : received) {
        window_->OnLineReceived(line.toLatin1().constData());
    }
    const QString path = files_.filePath("log.txt");
    window_->SaveEdit->setText(path);

    QTest::keyClick(window_->SaveEdit, Qt::Key_Return);

    QVERIFY(test_->runner.boxes.empty());
    QCOMPARE(FileBytes(path), saved);
    QCOMPARE(window_->SaveEdit->text(), path);  // the Enter was swallowed
    QCOMPARE(window_->SendLog->document()->blockCount(), std::max(1, int(received.size())));
}

void LogTest::savingReplacesAnExistingFile() {
    const QString path = files_.filePath("old.log");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("a much longer earlier content\r\n");
    old.close();
    ResetPort();
    window_->SendCommand("NEW");
    window_->SaveEdit->setText(path);

    QTest::keyClick(window_->SaveEdit, Qt::Key_Return);

    QCOMPARE(FileBytes(path), QByteArray("--> NEW\r\n"));
}

void LogTest::aFileThatCannotBeCreatedIsReportedAndTheLogStays_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty name") << QString() << QString("Cannot create file ");
    QTest::newRow("missing directory") << QString("/nonexistent-qdax/x.log")
                                       << QString("Cannot create file /nonexistent-qdax/x.log.");
}

void LogTest::aFileThatCannotBeCreatedIsReportedAndTheLogStays() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    ResetPort();
    window_->OnLineReceived("kept");
    window_->SaveEdit->setText(name);

    QTest::keyClick(window_->SaveEdit, Qt::Key_Return);

    QCOMPARE(test_->runner.boxes.size(), std::size_t{1});
    QCOMPARE(test_->runner.boxes[0].text, message);
    QCOMPARE(test_->runner.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(window_->SendLog->toPlainText(), QString("<-- kept"));
}

void LogTest::pickerSavesToTheChosenFile() {
    ResetPort();
    window_->SendCommand("VER");
    const QString path = files_.filePath("picked.log");
    test_->runner.fileAnswer = path;

    window_->PickSaveButton->click();

    QCOMPARE(test_->runner.dialogTitles.size(), std::size_t{1});
    QCOMPARE(window_->SaveEdit->text(), path);
    QCOMPARE(FileBytes(path), QByteArray("--> VER\r\n"));
}

void LogTest::pickerPresetsTheDialogWithTheTypedName() {
    ResetPort();
    window_->SaveEdit->setText(files_.filePath("typed.log"));
    test_->runner.fileAnswer.reset();

    window_->PickSaveButton->click();

    QCOMPARE(test_->runner.dialogPresets.size(), std::size_t{1});
    QCOMPARE(test_->runner.dialogPresets[0], QStringList{files_.filePath("typed.log")});
}

void LogTest::cancellingThePickerSavesNothing() {
    ResetPort();
    window_->SendCommand("VER");
    window_->SaveEdit->setText("unchanged.log");
    test_->runner.fileAnswer.reset();

    window_->PickSaveButton->click();

    QCOMPARE(test_->runner.dialogTitles.size(), std::size_t{1});
    QCOMPARE(window_->SaveEdit->text(), QString("unchanged.log"));
    QVERIFY(!QFile::exists("unchanged.log"));
    QVERIFY(test_->runner.boxes.empty());
}

QTEST_MAIN(LogTest)
#include "log_test.moc"
