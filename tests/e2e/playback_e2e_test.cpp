// Playing a command file to a simulated device through the window's controls: pacing by the
// device's answers and the command delay, Play, Pause, Step and Stop, and what reaches the wire.
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "app/services/application_title.h"
#include "app/widgets/delay_spin_edit.h"
#include "serial/serial_port_info.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"

using namespace e2e;

namespace {

using Clock = std::chrono::steady_clock;

const QByteArray kThreeLines = "L0\r\nL1\r\nL2\r\n";

// Notes when the device's wire first grew to each length, watching its recording from a thread
// of its own, so that the window's thread being blocked in the command delay does not hide it.
class WireClock {
public:
    explicit WireClock(const Device& device) : device_(device), watcher_([this] { Watch(); }) {}
    ~WireClock() {
        stop_ = true;
        watcher_.join();
    }
    WireClock(const WireClock&) = delete;
    WireClock& operator=(const WireClock&) = delete;

    // When the wire was first seen holding at least `length` bytes.
    std::optional<Clock::time_point> FirstSeen(qsizetype length) {
        std::lock_guard lock(mutex_);
        for (const auto& [time, size] : sightings_) {
            if (size >= length) return time;
        }
        return std::nullopt;
    }

private:
    void Watch() {
        qsizetype last = 0;
        while (!stop_) {
            const qsizetype size = device_.Wire().size();
            if (size != last) {
                std::lock_guard lock(mutex_);
                sightings_.emplace_back(Clock::now(), size);
                last = size;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    const Device& device_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::pair<Clock::time_point, qsizetype>> sightings_;
    std::thread watcher_;
};

}  // namespace

class PlaybackE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void threeLinesAnsweredOnceEachPlayToTheEndAndRewind();
    void playOnAnEmptyFileAreaSendsNothing();
    void stepFourTimesOnThreeLinesRewindsOnTheFourth();
    void theCommandDelayFollowsEachAnswer_data();
    void theCommandDelayFollowsEachAnswer();
    void pauseStepStepPauseSendsTheNextLineAtOnceAndPlays();
    void playTwiceSendsTwoLinesWithoutAnAnswer();
    void aFileLoadedWhilePausedGoesOnAtTheSameIndex();
    void anEchoingDeviceRunsPlaybackAhead();
    void severalAnswerLinesAdvanceOncePerLine();
    void doubleClickingTheLogDuringPlaybackEmptiesItAndPlaybackGoesOn();
};

void PlaybackE2eTest::threeLinesAnsweredOnceEachPlayToTheEndAndRewind() {
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);
    QVERIFY(window.Port != nullptr && window.Port->IsOpen());
    LoadCommandFile(window, scenario.File("three.txt"), kThreeLines);
    QCOMPARE(window.UploadFile->toPlainText(), QString("L0\nL1\nL2\n"));

    Click(window.PlayButton);
    QVERIFY(window.Playing);
    QVERIFY(!window.ManualEntry->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(!window.Playing, kWaitMs);
    QCOMPARE(window.NextLine, 0);
    QVERIFY(window.ManualEntry->isEnabled());
    QCOMPARE(LogLines(window),
             QStringList({"--> L0", "<-- OK", "--> L1", "<-- OK", "--> L2", "<-- OK"}));
    QCOMPARE(device.Wire(), QByteArray("L0\rL1\rL2\r"));
    QVERIFY(scenario.Boxes().boxes.empty());
}

void PlaybackE2eTest::playOnAnEmptyFileAreaSendsNothing() {
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("empty.txt"), "");
    QVERIFY(window.UploadFile->toPlainText().isEmpty());

    Click(window.PlayButton);

    QVERIFY(!window.Playing);
    QCOMPARE(window.NextLine, 0);
    QVERIFY(window.ManualEntry->isEnabled());
    QVERIFY(LogLines(window).isEmpty());
    // A command typed now is the first thing on the wire.
    Enter(window.ManualEntry, "X");
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), QStringList({"--> X", "<-- OK"}), kWaitMs);
    QCOMPARE(device.Wire(), QByteArray("X\r"));
}

void PlaybackE2eTest::stepFourTimesOnThreeLinesRewindsOnTheFourth() {
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("steps.txt"), "S0\r\nS1\r\nS2\r\n");

    QStringList expected;
    for (int press = 1; press <= 3; ++press) {
        Click(window.StepButton);
        QCOMPARE(window.NextLine, press);
        QVERIFY(!window.Playing);
        QVERIFY(window.ManualEntry->isEnabled());
        expected << QString("--> S%1").arg(press - 1) << "<-- OK";
        // While idle an answer is logged and sends nothing.
        QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), expected, kWaitMs);
        QCOMPARE(window.NextLine, press);
    }

    Click(window.StepButton);
    QCOMPARE(window.NextLine, 0);
    QCOMPARE(LogLines(window), expected);

    Click(window.StepButton);  // from the top again
    QTRY_COMPARE_WITH_TIMEOUT(device.Wire(), QByteArray("S0\rS1\rS2\rS0\r"), kWaitMs);
    QCOMPARE(window.NextLine, 1);
}

void PlaybackE2eTest::theCommandDelayFollowsEachAnswer_data() {
    QTest::addColumn<int>("delayMs");
    QTest::newRow("no delay") << 0;
    QTest::newRow("one second") << 1000;
}

// Each line after the first follows the device's answer to the one before; the answer comes as
// soon as that line reached the device, so the gap between two lines on the wire is the delay at
// least. Checked with a margin for the watcher's own lateness, and never from above.
void PlaybackE2eTest::theCommandDelayFollowsEachAnswer() {
    QFETCH(int, delayMs);
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("three.txt"), kThreeLines);
    TypeDelay(window, delayMs);
    QCOMPARE(window.DelaySpinEdit->Value(), delayMs);
    WireClock clock(device);

    Click(window.PlayButton);

    QTRY_VERIFY_WITH_TIMEOUT(!window.Playing, kWaitMs + 3 * delayMs);
    QCOMPARE(LogLines(window),
             QStringList({"--> L0", "<-- OK", "--> L1", "<-- OK", "--> L2", "<-- OK"}));
    QTRY_COMPARE_WITH_TIMEOUT(device.Wire(), QByteArray("L0\rL1\rL2\r"), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(clock.FirstSeen(9).has_value(), kWaitMs);
    const auto atLeast = std::chrono::milliseconds(delayMs * 8 / 10);
    for (qsizetype line = 1; line <= 2; ++line) {
        const auto gap = *clock.FirstSeen(3 * (line + 1)) - *clock.FirstSeen(3 * line);
        QVERIFY2(gap >= atLeast, qPrintable(QString("line %1 came %2 ms after line %3")
                                                .arg(line)
                                                .arg(gap / std::chrono::milliseconds(1))
                                                .arg(line - 1)));
    }
}

void PlaybackE2eTest::pauseStepStepPauseSendsTheNextLineAtOnceAndPlays() {
    Scenario scenario;
    // Answers come a while after each command, so none arrives between the operator's presses.
    Device& device = scenario.StartDevice({"--delay", "100"});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("five.txt"), "L0\r\nL1\r\nL2\r\nL3\r\nL4\r\n");

    Click(window.PlayButton);
    Click(window.PauseButton);
    QVERIFY(!window.Playing);
    QVERIFY(window.ManualEntry->isEnabled());
    Click(window.StepButton);
    Click(window.StepButton);
    QCOMPARE(window.NextLine, 3);
    QVERIFY(!window.Playing);

    Click(window.PauseButton);
    QVERIFY(window.Playing);
    QVERIFY(!window.ManualEntry->isEnabled());
    QCOMPARE(window.NextLine, 4);
    QCOMPARE(LogLines(window), QStringList({"--> L0", "--> L1", "--> L2", "--> L3"}));

    // Playing again: the first answer sends the last line, the second finds none left.
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window).size(), 10, kWaitMs);
    QCOMPARE(LogLines(window), QStringList({"--> L0", "--> L1", "--> L2", "--> L3", "<-- OK",
                                            "--> L4", "<-- OK", "<-- OK", "<-- OK", "<-- OK"}));
    QVERIFY(!window.Playing);
    QCOMPARE(window.NextLine, 0);
    QCOMPARE(device.Wire(), QByteArray("L0\rL1\rL2\rL3\rL4\r"));
}

void PlaybackE2eTest::playTwiceSendsTwoLinesWithoutAnAnswer() {
    Scenario scenario;
    Device& device = scenario.StartDevice({"--silent"});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("three.txt"), kThreeLines);

    Click(window.PlayButton);
    Click(window.PlayButton);

    QVERIFY(window.Playing);
    QCOMPARE(window.NextLine, 2);
    QCOMPARE(LogLines(window), QStringList({"--> L0", "--> L1"}));
    QTRY_COMPARE_WITH_TIMEOUT(device.Wire(), QByteArray("L0\rL1\r"), kWaitMs);
}

void PlaybackE2eTest::aFileLoadedWhilePausedGoesOnAtTheSameIndex() {
    Scenario scenario;
    Device& device = scenario.StartDevice({"--delay", "100"});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("a.txt"), "A0\r\nA1\r\nA2\r\n");

    Click(window.PlayButton);
    Click(window.PauseButton);
    // Paused: the answer is logged and sends nothing.
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), QStringList({"--> A0", "<-- OK"}), kWaitMs);
    QCOMPARE(window.NextLine, 1);

    LoadCommandFile(window, scenario.File("b.txt"), "B0\r\nB1\r\nB2\r\n");
    QCOMPARE(window.UploadFile->toPlainText(), QString("B0\nB1\nB2\n"));
    QCOMPARE(window.NextLine, 1);
    Click(window.PauseButton);

    QTRY_VERIFY_WITH_TIMEOUT(!window.Playing, kWaitMs);
    QCOMPARE(LogLines(window),
             QStringList({"--> A0", "<-- OK", "--> B1", "<-- OK", "--> B2", "<-- OK"}));
    QCOMPARE(device.Wire(), QByteArray("A0\rB1\rB2\r"));
}

// The echo of a command already counts as its answer and sends the next command; the device's
// real answer then sends the one after.
void PlaybackE2eTest::anEchoingDeviceRunsPlaybackAhead() {
    Scenario scenario;
    Device& device = scenario.StartDevice({"--echo"});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("three.txt"), kThreeLines);

    Click(window.PlayButton);

    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window).size(), 9, kWaitMs);
    QCOMPARE(LogLines(window), QStringList({"--> L0", "<-- L0", "--> L1", "<-- OK", "--> L2",
                                            "<-- L1", "<-- OK", "<-- L2", "<-- OK"}));
    QVERIFY(!window.Playing);
    QCOMPARE(window.NextLine, 0);
    QCOMPARE(device.Wire(), QByteArray("L0\rL1\rL2\r"));
}

void PlaybackE2eTest::severalAnswerLinesAdvanceOncePerLine() {
    Scenario scenario;
    Device& device = scenario.StartDevice({"--lines", "2"});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("four.txt"), "L0\r\nL1\r\nL2\r\nL3\r\n");

    Click(window.PlayButton);

    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window).size(), 12, kWaitMs);
    QCOMPARE(LogLines(window),
             QStringList({"--> L0", "<-- OK", "--> L1", "<-- OK", "--> L2", "<-- OK", "--> L3",
                          "<-- OK", "<-- OK", "<-- OK", "<-- OK", "<-- OK"}));
    QVERIFY(!window.Playing);
    QCOMPARE(device.Wire(), QByteArray("L0\rL1\rL2\rL3\r"));
}

void PlaybackE2eTest::doubleClickingTheLogDuringPlaybackEmptiesItAndPlaybackGoesOn() {
    Scenario scenario;
    Device& device = scenario.StartDevice({"--delay", "100"});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("three.txt"), kThreeLines);

    Click(window.PlayButton);
    QCOMPARE(LogLines(window), QStringList({"--> L0"}));
    DoubleClick(window.SendLog);
    QVERIFY(LogLines(window).isEmpty());
    QVERIFY(window.Playing);

    QTRY_VERIFY_WITH_TIMEOUT(!window.Playing, kWaitMs);
    QCOMPARE(LogLines(window), QStringList({"<-- OK", "--> L1", "<-- OK", "--> L2", "<-- OK"}));
    QCOMPARE(device.Wire(), QByteArray("L0\rL1\rL2\r"));
}

QTEST_MAIN(PlaybackE2eTest)
#include "playback_e2e_test.moc"
