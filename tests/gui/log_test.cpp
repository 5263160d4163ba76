// Commands typed by the operator, lines from the device, and the communications log with its
// selecting, copying, following the newest line, clearing and saving.
#ifdef _WIN32
#include <windows.h>
#endif

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <string>

#include "app/services/application_title.h"
#include "app/services/window_services.h"
#include "app/window/daxtest.h"
#include "fake_device.h"
#include "gui_support.h"

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Line `index` lies whole inside the log's viewport.
bool Shown(const CommLogView& log, std::size_t index) {
    const QRect rect = log.LineRect(index);
    return !rect.isEmpty() && rect.bottom() < log.viewport()->height();
}

QPoint CentreOf(const CommLogView& log, std::size_t index) {
    return log.LineRect(index).center();
}

// Received line `i` of a long log: its number, then 8-bit bytes that differ from line to line.
// The reader never hands over a line end or a NUL.
std::string NumberedLine(int i) {
    std::string line = std::to_string(i) + ' ';
    for (int j = 0; j < 24; ++j) {
        const char byte = static_cast<char>(1 + (i * 7 + j * 31) % 255);
        line += byte == '\r' || byte == '\n' ? 'x' : byte;
    }
    return line;
}

// How the operator selects lines.
enum class Gesture { Click, ShiftClick, Drag, SelectAllKey };

}  // namespace

Q_DECLARE_METATYPE(Gesture)

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
    void typedTextAndAnswersCrossAsTheSystemsBytes_data();
    void typedTextAndAnswersCrossAsTheSystemsBytes();
    void emptyLinesAreNotLogged();
    void onlyAPrimaryDoubleClickEmptiesTheLog_data();
    void onlyAPrimaryDoubleClickEmptiesTheLog();
    void selectedLinesAreCopiedAsText_data();
    void selectedLinesAreCopiedAsText();
    void copyingWithNothingSelectedLeavesTheClipboard();
    void theContextMenuCopiesTheSelection();
    void selectedLinesAreDrawnHighlighted();
    void theLogFollowsTheNewestLineUntilTheOperatorScrollsUp();
    void aClearedLogFollowsTheEndAgain();
    void longLinesWrapOnScreenOnly();
    void typingIntoTheLogChangesNothing();
    void aLargeLogIsSavedByteForByte();
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
    void ShowWithLines(const QStringList& lines);
    void ReceiveNumberedLines(int first, int count);

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

void LogTest::ShowWithLines(const QStringList& lines) {
    QVERIFY(ShowActive(*window_));
    for (const QString& line : lines) {
        window_->OnLineReceived(line.toLatin1().constData());
    }
    if (!lines.isEmpty()) {
        QTRY_VERIFY(Shown(*window_->SendLog, std::size_t(lines.size()) - 1));
    }
}

void LogTest::ReceiveNumberedLines(int first, int count) {
    for (int i = first; i < first + count; ++i) {
        window_->OnLineReceived(NumberedLine(i).c_str());
    }
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

void LogTest::typedTextAndAnswersCrossAsTheSystemsBytes_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("shown");
#ifdef _WIN32
    // The ANSI code page of a Western European system, 1252.
    QTest::newRow("euro") << QString::fromUtf16(u"\u20ac\u00e9") << QByteArray("\x80\xe9\r")
                          << QByteArray("\x80\x9f") << QString::fromUtf16(u"\u20ac\u0178");
    QTest::newRow("not in the code page") << QString::fromUtf16(u"\u0100=1") << QByteArray("?=1\r")
                                          << QByteArray("\x81") << QString::fromUtf16(u"\u0081");
#else
    // Latin-1: a byte is the character of its code.
    QTest::newRow("euro") << QString::fromUtf16(u"\u20ac\u00e9") << QByteArray("?\xe9\r")
                          << QByteArray("\x80\x9f") << QString::fromUtf16(u"\u0080\u009f");
    QTest::newRow("not in the character set")
        << QString::fromUtf16(u"\u0100=1") << QByteArray("?=1\r") << QByteArray("\x81")
        << QString::fromUtf16(u"\u0081");
#endif
}

void LogTest::typedTextAndAnswersCrossAsTheSystemsBytes() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, wire);
    QFETCH(QByteArray, answer);
    QFETCH(QString, shown);
#ifdef _WIN32
    if (::GetACP() != 1252) QSKIP("the system's code page is not 1252");
#endif
    ResetPort();
    window_->ManualEntry->setText(typed);
    QTest::keyClick(window_->ManualEntry, Qt::Key_Return);
    QVERIFY(device_->WaitForBytes(static_cast<std::size_t>(wire.size())));
    QCOMPARE(QByteArray::fromStdString(device_->Received()), wire);

    device_->Send((answer + '\r').toStdString());
    QTRY_COMPARE(window_->SendLog->toPlainText().section('\n', 1), "<-- " + shown);

    const QString path = files_.filePath("code-page.log");
    window_->SaveEdit->setText(path);
    QTest::keyClick(window_->SaveEdit, Qt::Key_Return);
    QCOMPARE(FileBytes(path), "--> " + wire.chopped(1) + "\r\n<-- " + answer + "\r\n");
}

void LogTest::emptyLinesAreNotLogged() {
    ResetPort();
    window_->OnLineReceived("");
    QVERIFY(window_->SendLog->toPlainText().isEmpty());
    window_->OnLineReceived("A");
    window_->OnLineReceived("");
    QCOMPARE(window_->SendLog->toPlainText(), QString("<-- A"));
}

void LogTest::onlyAPrimaryDoubleClickEmptiesTheLog_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("log");
    QTest::newRow("primary") << Qt::LeftButton << QString("<-- three");
    QTest::newRow("secondary") << Qt::RightButton << QString("<-- one\n--> two\n<-- three");
    QTest::newRow("middle") << Qt::MiddleButton << QString("<-- one\n--> two\n<-- three");
}

void LogTest::onlyAPrimaryDoubleClickEmptiesTheLog() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, log);
    ResetPort();
    window_->OnLineReceived("one");
    window_->SendCommand("two");
    QTest::mouseDClick(window_->SendLog->viewport(), button);

    window_->OnLineReceived("three");
    QCOMPARE(window_->SendLog->toPlainText(), log);
}

void LogTest::selectedLinesAreCopiedAsText_data() {
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("copied");
    QTest::newRow("one line clicked") << Gesture::Click << 1 << 1 << QString("<-- b");
    QTest::newRow("shift+click extends downwards")
        << Gesture::ShiftClick << 0 << 2 << QString("<-- a\n<-- b\n<-- c");
    QTest::newRow("shift+click extends upwards")
        << Gesture::ShiftClick << 3 << 2 << QString::fromLatin1("<-- c\n<-- \xe9t\xe9");
    QTest::newRow("dragged upwards") << Gesture::Drag << 2 << 0 << QString("<-- a\n<-- b\n<-- c");
    QTest::newRow("Ctrl+A") << Gesture::SelectAllKey << 0 << 0
                            << QString::fromLatin1("<-- a\n<-- b\n<-- c\n<-- \xe9t\xe9");
}

void LogTest::selectedLinesAreCopiedAsText() {
    QFETCH(Gesture, gesture);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, copied);
    ShowWithLines({"a", "b", "c", QString::fromLatin1("\xe9t\xe9")});
    CommLogView& log = *window_->SendLog;
    QWidget* area = log.viewport();

    switch (gesture) {
        case Gesture::Click:
            QTest::mouseClick(area, Qt::LeftButton, {}, CentreOf(log, from));
            break;
        case Gesture::ShiftClick:
            QTest::mouseClick(area, Qt::LeftButton, {}, CentreOf(log, from));
            QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, CentreOf(log, to));
            break;
        case Gesture::Drag: {
            QTest::mousePress(area, Qt::LeftButton, {}, CentreOf(log, from));
            QMouseEvent move(QEvent::MouseMove, CentreOf(log, to),
                             area->mapToGlobal(CentreOf(log, to)), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(area, &move);
            QTest::mouseRelease(area, Qt::LeftButton, {}, CentreOf(log, to));
            break;
        }
        case Gesture::SelectAllKey:
            log.setFocus();
            QTest::keyClick(&log, Qt::Key_A, Qt::ControlModifier);
            break;
    }
    QCOMPARE(log.SelectedText(), copied);
    log.setFocus();
    QTest::keyClick(&log, Qt::Key_C, Qt::ControlModifier);

    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    QCOMPARE(log.LineCount(), std::size_t{4});  // selecting and copying leave the log as it was
}

void LogTest::copyingWithNothingSelectedLeavesTheClipboard() {
    ShowWithLines({"a"});
    QGuiApplication::clipboard()->setText("earlier");
    window_->SendLog->setFocus();

    QTest::keyClick(window_->SendLog, Qt::Key_C, Qt::ControlModifier);

    QCOMPARE(QGuiApplication::clipboard()->text(), QString("earlier"));
}

void LogTest::theContextMenuCopiesTheSelection() {
    ShowWithLines({"a", "b", "c"});
    CommLogView& log = *window_->SendLog;
    log.SelectLines(0, 1);
    QGuiApplication::clipboard()->setText("earlier");
    QStringList offered;
    // The menu is answered once it has popped up, however long that takes on a busy machine; a
    // menu that never shows leaves nothing offered.
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&answer, &offered] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible()) return;
        answer.stop();
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            offered << action->text();
            if (action->text() == "&Copy") action->trigger();
        }
        menu->close();
    });
    answer.start();
    QContextMenuEvent click(QContextMenuEvent::Mouse, CentreOf(log, 2),
                            log.viewport()->mapToGlobal(CentreOf(log, 2)));

    QApplication::sendEvent(log.viewport(), &click);

    QCOMPARE(offered, (QStringList{"&Copy", "Select All"}));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("<-- a\n<-- b"));
}

void LogTest::selectedLinesAreDrawnHighlighted() {
    ShowWithLines({"plain", "chosen"});
    CommLogView& log = *window_->SendLog;
    log.SelectLines(1, 1);

    const QImage shown = log.viewport()->grab().toImage();
    const QRect plain = log.LineRect(0);
    const QRect chosen = log.LineRect(1);
    const QPalette& colours = log.palette();
    // Left of the text, inside each line: the line's background.
    QCOMPARE(shown.pixelColor(1, plain.center().y()), colours.color(QPalette::Base));
    QCOMPARE(shown.pixelColor(1, chosen.center().y()), colours.color(QPalette::Highlight));
    // The text itself is drawn: the plain line holds pixels of another colour than its background.
    int textPixels = 0;
    for (int y = plain.top(); y <= plain.bottom(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (shown.pixelColor(x, y) != colours.color(QPalette::Base)) ++textPixels;
        }
    }
    QVERIFY(textPixels > 0);
}

void LogTest::theLogFollowsTheNewestLineUntilTheOperatorScrollsUp() {
    ShowWithLines({});
    CommLogView& log = *window_->SendLog;
    ReceiveNumberedLines(0, 200);
    QTRY_VERIFY(Shown(log, 199));
    QVERIFY(!Shown(log, 0));

    // Scrolled up to read: new lines do not pull the view away.
    log.setFocus();
    QTest::keyClick(&log, Qt::Key_PageUp);
    QVERIFY(!log.FollowsTheEnd());
    const int readingAt = log.verticalScrollBar()->value();
    const int endBefore = log.verticalScrollBar()->maximum();
    ReceiveNumberedLines(200, 50);
    QTRY_VERIFY(log.verticalScrollBar()->maximum() > endBefore);
    QCOMPARE(log.verticalScrollBar()->value(), readingAt);
    QVERIFY(!Shown(log, 249));

    // Back at the end, it follows again.
    QTest::keyClick(&log, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(log.FollowsTheEnd());
    QVERIFY(Shown(log, 249));
    ReceiveNumberedLines(250, 1);
    QTRY_VERIFY(Shown(log, 250));
}

void LogTest::aClearedLogFollowsTheEndAgain() {
    ShowWithLines({});
    CommLogView& log = *window_->SendLog;
    ReceiveNumberedLines(0, 100);
    QTRY_VERIFY(Shown(log, 99));
    log.setFocus();
    QTest::keyClick(&log, Qt::Key_Home);
    QVERIFY(!log.FollowsTheEnd());

    QTest::mouseDClick(log.viewport(), Qt::LeftButton);
    QCOMPARE(log.LineCount(), std::size_t{0});
    ReceiveNumberedLines(0, 100);

    QTRY_VERIFY(Shown(log, 99));
    QVERIFY(log.SelectedText().isEmpty());
}

void LogTest::longLinesWrapOnScreenOnly() {
    QString words;
    for (int i = 0; i < 60; ++i) words += QString("word%1 ").arg(i);
    const QString unbroken(300, u'x');
    ShowWithLines({"short", words, unbroken});
    CommLogView& log = *window_->SendLog;

    const int rowHeight = log.LineRect(0).height();
    QVERIFY(log.LineRect(1).height() >= 3 * rowHeight);
    QVERIFY(log.LineRect(2).height() >= 2 * rowHeight);  // a line without spaces wraps too
    QCOMPARE(log.LineCount(), std::size_t{3});
    QCOMPARE(QString::fromLatin1(log.LineBytes(1).data(), qsizetype(log.LineBytes(1).size())),
             "<-- " + words);
}

void LogTest::typingIntoTheLogChangesNothing() {
    ShowWithLines({"kept"});
    window_->SendLog->setFocus();
    window_->SendLog->SelectLines(0, 0);

    QTest::keyClicks(window_->SendLog, "typed");
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return}) {
        QTest::keyClick(window_->SendLog, key);
    }
    QGuiApplication::clipboard()->setText("pasted");
    QTest::keyClick(window_->SendLog, Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(window_->SendLog->toPlainText(), QString("<-- kept"));
    QVERIFY(window_->isVisible());
}

void LogTest::aLargeLogIsSavedByteForByte() {
    constexpr int kLines = 100'000;
    ResetPort();
    window_->SendCommand("FLOOD");
    ReceiveNumberedLines(0, kLines);
    QByteArray expected("--> FLOOD\r\n");
    for (int i = 0; i < kLines; ++i) {
        expected += "<-- " + QByteArray::fromStdString(NumberedLine(i)) + "\r\n";
    }
    const QString path = files_.filePath("large.log");
    window_->SaveEdit->setText(path);

    QTest::keyClick(window_->SaveEdit, Qt::Key_Return);

    QVERIFY(test_->runner.boxes.empty());
    QCOMPARE(window_->SendLog->LineCount(), std::size_t{kLines + 1});
    const QByteArray saved = FileBytes(path);
    QCOMPARE(saved.size(), expected.size());
    QVERIFY(saved == expected);
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
    QCOMPARE(window_->SendLog->LineCount(), std::size_t(received.size()));
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
