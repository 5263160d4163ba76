// Commands typed by the operator, the device's answers in the communications log, and the log
// saved to a file, against a simulated device.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "app/services/application_title.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"

using namespace e2e;

namespace {

// Every byte from 0x80 to 0xFF: none of them is a line end or a NUL.
QByteArray HighBytes() {
    QByteArray bytes;
    for (int code = 0x80; code <= 0xFF; ++code) bytes.append(static_cast<char>(code));
    return bytes;
}

// `length` characters cycling through the digits, so that any cut shows where it fell.
QByteArray Digits(int length) {
    QByteArray text;
    for (int i = 0; i < length; ++i) text.append(static_cast<char>('0' + i % 10));
    return text;
}

enum class SaveWay { EditAndEnter, Picker };

}  // namespace

Q_DECLARE_METATYPE(SaveWay)

class LogE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void aTypedCommandIsLoggedSentWithCrAndStaysSelected();
    void enterInAnEmptyFieldSendsALoneCarriageReturn();
    void anAnswerEndedByCrLfGivesOneLogLine();
    void twoAnswersInOneChunkGiveTwoLogLinesInOrder();
    void theLogIsSavedAsCrLfLines_data();
    void theLogIsSavedAsCrLfLines();
    void eightBitTextReachesTheWireAndTheSavedLogUnchanged();
    void aLongCommandReachesTheWireWholeWithItsCr();
    void aLineOver2048CharactersArrivesAsTwoLines();
};

void LogE2eTest::aTypedCommandIsLoggedSentWithCrAndStaysSelected() {
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);

    Enter(window.ManualEntry, "VER");

    QCOMPARE(LogLines(window), QStringList({"--> VER"}));
    QCOMPARE(window.ManualEntry->text(), QString("VER"));
    QCOMPARE(window.ManualEntry->selectedText(), QString("VER"));
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), QStringList({"--> VER", "<-- Q-Dax simulator 1.0"}),
                              kWaitMs);
    QCOMPARE(device.Wire(), QByteArray("VER\r"));

    // Another Enter sends the same command again; a typed character replaces it.
    PressEnter(window.ManualEntry);
    QTRY_COMPARE_WITH_TIMEOUT(device.Wire(), QByteArray("VER\rVER\r"), kWaitMs);
    QTest::keyClick(window.ManualEntry, Qt::Key_X);
    QCOMPARE(window.ManualEntry->text(), QString("x"));
}

void LogE2eTest::enterInAnEmptyFieldSendsALoneCarriageReturn() {
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);

    Enter(window.ManualEntry, "");

    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), QStringList({"--> ", "<-- OK"}), kWaitMs);
    QCOMPARE(device.Wire(), QByteArray("\r"));
}

// The empty line between CR and LF is dropped; a second exchange shows that nothing else came.
void LogE2eTest::anAnswerEndedByCrLfGivesOneLogLine() {
    Scenario scenario;
    scenario.StartDevice({"--line-end", "crlf"});
    TMainForm& window = scenario.OpenWindowOnPort(0);

    Enter(window.ManualEntry, "A");
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), QStringList({"--> A", "<-- OK"}), kWaitMs);
    Enter(window.ManualEntry, "B");

    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window).size(), 4, kWaitMs);
    QCOMPARE(LogLines(window), QStringList({"--> A", "<-- OK", "--> B", "<-- OK"}));
}

void LogE2eTest::twoAnswersInOneChunkGiveTwoLogLinesInOrder() {
    Scenario scenario;
    scenario.StartDevice({"--answer", "X\rY", "--line-end", "cr"});
    TMainForm& window = scenario.OpenWindowOnPort(0);

    Enter(window.ManualEntry, "C");

    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), QStringList({"--> C", "<-- X", "<-- Y"}), kWaitMs);
}

void LogE2eTest::theLogIsSavedAsCrLfLines_data() {
    QTest::addColumn<SaveWay>("way");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray three = "--> A\r\n<-- OK\r\n<-- OK\r\n";
    QTest::newRow("three entries, Enter") << SaveWay::EditAndEnter << false << three;
    QTest::newRow("three entries, picker") << SaveWay::Picker << false << three;
    QTest::newRow("empty log, Enter") << SaveWay::EditAndEnter << true << QByteArray();
    QTest::newRow("empty log, picker") << SaveWay::Picker << true << QByteArray();
}

// The file existed before with other content: saving replaces it.
void LogE2eTest::theLogIsSavedAsCrLfLines() {
    QFETCH(SaveWay, way);
    QFETCH(bool, empty);
    QFETCH(QByteArray, expected);
    Scenario scenario;
    scenario.StartDevice({"--lines", "2"});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    Enter(window.ManualEntry, "A");
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window).size(), 3, kWaitMs);
    if (empty) {
        DoubleClick(window.SendLog);
        QVERIFY(LogLines(window).isEmpty());
    }
    const QStringList logBefore = LogLines(window);
    const std::string path = scenario.File("log.txt");
    WriteBytes(path, "an older log\r\nof two lines\r\n");

    if (way == SaveWay::EditAndEnter) {
        Enter(window.SaveEdit, QString::fromStdString(path));
    } else {
        scenario.Boxes().fileAnswer = QString::fromStdString(path);
        Click(window.PickSaveButton);
        QCOMPARE(scenario.Boxes().dialogTitles.size(), std::size_t{1});
        QCOMPARE(window.SaveEdit->text(), QString::fromStdString(path));
    }

    QVERIFY(scenario.Boxes().boxes.empty());
    QCOMPARE(ReadBytes(path), expected);
    QCOMPARE(LogLines(window), logBefore);
}

void LogE2eTest::eightBitTextReachesTheWireAndTheSavedLogUnchanged() {
    const QByteArray command = HighBytes();
    QByteArray answer = HighBytes();
    std::reverse(answer.begin(), answer.end());
    Scenario scenario;
    Device& device = scenario.StartDevice({"--answer", answer.toStdString()});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("high.txt"), command + "\r\n");

    Click(window.StepButton);

    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window).size(), 2, kWaitMs);
    QCOMPARE(device.Wire(), command + '\r');
    QCOMPARE(LogLines(window),
             QStringList({"--> " + SystemText(command), "<-- " + SystemText(answer)}));
    const std::string path = scenario.File("log.txt");
    Enter(window.SaveEdit, QString::fromStdString(path));
    QVERIFY(scenario.Boxes().boxes.empty());
    QCOMPARE(ReadBytes(path), "--> " + command + "\r\n<-- " + answer + "\r\n");
}

void LogE2eTest::aLongCommandReachesTheWireWholeWithItsCr() {
    const QByteArray command = Digits(3000);
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);

    Enter(window.ManualEntry, SystemText(command));

    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window),
                              QStringList({"--> " + SystemText(command), "<-- OK"}), kWaitMs);
    QCOMPARE(device.Wire(), command + '\r');
}

void LogE2eTest::aLineOver2048CharactersArrivesAsTwoLines() {
    const QByteArray answer = Digits(3000);
    Scenario scenario;
    scenario.StartDevice({"--answer", answer.toStdString()});
    TMainForm& window = scenario.OpenWindowOnPort(0);

    Enter(window.ManualEntry, "GET");

    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window).size(), 3, kWaitMs);
    QCOMPARE(LogLines(window), QStringList({"--> GET", "<-- " + SystemText(answer.left(2048)),
                                            "<-- " + SystemText(answer.mid(2048))}));
}

QTEST_MAIN(LogE2eTest)
#include "log_e2e_test.moc"
