// A device that vanishes in the middle of playback, at the two moments that matter: while an
// answer is awaited (a read is pending) and while the window sits in the command delay. The loss
// is logged once, the window keeps answering, "Reset Port" while the device is away says so, and
// once the device is back "Reset Port" and Pause carry the playback on to its end.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <atomic>
#include <thread>

#include "app/services/application_title.h"
#include "app/widgets/delay_spin_edit.h"
#include "serial/serial_port_info.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"
#include "tests/faults/event_loop_wait.h"
#include "tests/faults/thread_probe.h"
#include "tests/support/wait_until.h"

using namespace e2e;

namespace {

const QString kNotConnected = Device::VanishedLine();
// Long enough for an error repeated on every pass of the reader to show many times over.
constexpr int kQuietSpellMs = 500;
constexpr int kCommandDelayMs = 1000;

enum class Moment { AwaitingAnAnswer, InTheCommandDelay };

// Kills the device from a thread of its own once the window thread has gone into the command
// delay after the device's first answer, and notes whether the kill fell inside that delay.
class KillInTheCommandDelay {
public:
    KillInTheCommandDelay(Device& device, qdax_fault::ThreadId windowThread)
        : killer_([this, &device, windowThread] {
              const bool delaying = qdax_test::WaitUntil([&] {
                  return device.Wire() == "L0\r" && qdax_fault::IsInTimedSleep(windowThread);
              });
              if (!delaying) return;
              killed_ = device.Kill().has_value();
              landed_ = qdax_fault::IsInTimedSleep(windowThread);
          }) {}
    ~KillInTheCommandDelay() { Join(); }
    KillInTheCommandDelay(const KillInTheCommandDelay&) = delete;
    KillInTheCommandDelay& operator=(const KillInTheCommandDelay&) = delete;

    void Join() {
        if (killer_.joinable()) killer_.join();
    }
    bool Killed() const { return killed_; }
    bool LandedInTheDelay() const { return landed_; }

private:
    std::atomic<bool> killed_{false};
    std::atomic<bool> landed_{false};
    std::thread killer_;
};

int CountOf(const QStringList& lines, const QString& line) {
    return static_cast<int>(lines.count(line));
}

}  // namespace

Q_DECLARE_METATYPE(Moment)

class VanishingFaultTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void aDeviceVanishingMidPlaybackIsReportedOnceAndResetPortRecovers_data();
    void aDeviceVanishingMidPlaybackIsReportedOnceAndResetPortRecovers();
};

void VanishingFaultTest::aDeviceVanishingMidPlaybackIsReportedOnceAndResetPortRecovers_data() {
    QTest::addColumn<Moment>("moment");
    QTest::addColumn<QStringList>("logWhenGone");
    QTest::addColumn<QStringList>("logAfterReturn");
    QTest::addColumn<QByteArray>("wireAfterReturn");
    // The read error counts as the answer and sends one more line, which goes nowhere.
    QTest::newRow("while an answer is awaited")
        << Moment::AwaitingAnAnswer << QStringList({"--> L0", kNotConnected, "--> L1"})
        << QStringList({"--> L2", "<-- OK", "--> L3", "<-- OK", "--> L4", "<-- OK"})
        << QByteArray("L2\rL3\rL4\r");
    // The line due after the delay still goes out, into the vanished device.
    QTest::newRow("in the command delay")
        << Moment::InTheCommandDelay
        << QStringList({"--> L0", "<-- OK", "--> L1", kNotConnected, "--> L2"})
        << QStringList({"--> L3", "<-- OK", "--> L4", "<-- OK"}) << QByteArray("L3\rL4\r");
}

void VanishingFaultTest::aDeviceVanishingMidPlaybackIsReportedOnceAndResetPortRecovers() {
    QFETCH(Moment, moment);
    QFETCH(QStringList, logWhenGone);
    QFETCH(QStringList, logAfterReturn);
    QFETCH(QByteArray, wireAfterReturn);
    Scenario scenario;
    Device& device = scenario.StartDevice(moment == Moment::AwaitingAnAnswer
                                              ? std::vector<std::string>{"--silent"}
                                              : std::vector<std::string>{});
    // Once the window lets go of the killed device, its pty number would be free for another
    // test's device at once, and the link it left would lead there.
    device.KeepNumberTaken();
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("five.txt"), "L0\r\nL1\r\nL2\r\nL3\r\nL4\r\n");
    TypeDelay(window, moment == Moment::InTheCommandDelay ? kCommandDelayMs : 0);

    if (moment == Moment::AwaitingAnAnswer) {
        Click(window.PlayButton);
        QTRY_COMPARE_WITH_TIMEOUT(device.Wire(), QByteArray("L0\r"), kWaitMs);
        QVERIFY(device.Kill().has_value());
    } else {
        KillInTheCommandDelay killer(device, qdax_fault::CurrentThreadId());
        Click(window.PlayButton);
        // Waiting in the event loop, so the only timed sleep of this thread is the delay.
        qdax_fault::ServeEventsUntil([&] { return killer.Killed(); }, kWaitMs);
        killer.Join();
        QVERIFY(killer.Killed());
        QVERIFY2(killer.LandedInTheDelay(), "the device was killed after the delay had ended");
    }

    QTRY_VERIFY_WITH_TIMEOUT(LogLines(window).contains(kNotConnected), kWaitMs);
    QTest::qWait(kQuietSpellMs);
    QCOMPARE(LogLines(window), logWhenGone);
    QVERIFY(window.Playing);

    // Away: "Reset Port" says the port cannot be opened; the window goes on answering.
    Click(window.SetPortButton);
    const std::vector<RecordedBox>& boxes = scenario.Boxes().boxes;
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, QString("Unable to open serial port"));
    QCOMPARE(boxes[0].caption, QString("Error"));
    QVERIFY(!window.Port->IsOpen());
    Click(window.PauseButton);
    QVERIFY(!window.Playing);
    Enter(window.ManualEntry, "AWAY");
    QCOMPARE(LogLines(window), logWhenGone + QStringList({"--> AWAY"}));

    // Back on the same name: the same port object opens it, and Pause plays the rest.
    device.RemoveLink();
    Device& again = scenario.StartDevice({"--com", device.ComName().substr(3)});
    QCOMPARE(again.ComName(), device.ComName());
    Click(window.SetPortButton);
    QVERIFY(window.Port->IsOpen());
    QCOMPARE(boxes.size(), std::size_t{1});
    TypeDelay(window, 0);
    Click(window.PauseButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.Playing, kWaitMs);
    QCOMPARE(window.NextLine, 0);
    QCOMPARE(LogLines(window), logWhenGone + QStringList({"--> AWAY"}) + logAfterReturn);
    QCOMPARE(again.Wire(), wireAfterReturn);
    QCOMPARE(CountOf(LogLines(window), kNotConnected), 1);
}

QTEST_MAIN(VanishingFaultTest)
#include "vanishing_fault_test.moc"
