// Choosing and resetting the port with simulated devices: re-opening, moving to another device,
// no port to choose, a port that cannot be opened, and a device that goes away.
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <optional>

#include "app/services/application_title.h"
#include "serial/serial_port_info.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"

using namespace e2e;

namespace {

const QString kNotConnected = Device::VanishedLine();

// Long enough for a read error repeated on every pass of the reader to show many times over.
constexpr int kQuietSpellMs = 500;

enum class Unopenable { KilledLeavingItsLink, StoppedRemovingItsLink, HeldByAnotherOpen };
enum class Vanishing { DisconnectsAfterTwoAnswers, Killed };

#ifdef _WIN32
// Another open of the port, which the system does not share.
class Holder {
public:
    explicit Holder(const Device& device)
        : handle_(::CreateFileA(("\\\\.\\" + device.ComName()).c_str(),
                                GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr)) {}
    ~Holder() {
        if (Holding()) ::CloseHandle(handle_);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool Holding() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};
#else
// Another open of the device, holding it the way the serial layer does.
class Holder {
public:
    explicit Holder(const Device& device)
        : fd_(open(device.PtyPath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        if (fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) != 0) Release();
    }
    ~Holder() { Release(); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool Holding() const { return fd_ >= 0; }

private:
    void Release() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
};
#endif

int CountOf(const QStringList& lines, const QString& line) {
    return static_cast<int>(lines.count(line));
}

}  // namespace

Q_DECLARE_METATYPE(Unopenable)
Q_DECLARE_METATYPE(Vanishing)

class PortE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void resettingTwiceReopensTheSameObjectAndKeepsTheLog();
    void changingThePortMovesToTheOtherDeviceAndKeepsTheLog();
    void withoutASelectedPortResetShowsTheIndexError_data();
    void withoutASelectedPortResetShowsTheIndexError();
    void aPortThatCannotBeOpenedIsReportedAndCommandsAreLogged_data();
    void aPortThatCannotBeOpenedIsReportedAndCommandsAreLogged();
    void aDeviceVanishingMidPlaybackIsLoggedOnce_data();
    void aDeviceVanishingMidPlaybackIsLoggedOnce();
};

void PortE2eTest::resettingTwiceReopensTheSameObjectAndKeepsTheLog() {
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindowOnPort(0);
    Enter(window.ManualEntry, "VER");
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window).size(), 2, kWaitMs);
    SerialPortInfo* port = window.Port;
    const ReadSerialThread* reader = port->Reader();
    QVERIFY(reader != nullptr);

    Click(window.SetPortButton);

    QCOMPARE(window.Port, port);
    QCOMPARE(port->Reader(), reader);
    QVERIFY(port->IsOpen());
    QCOMPARE(LogLines(window).size(), 2);
    Enter(window.ManualEntry, "VER");
    QTRY_COMPARE_WITH_TIMEOUT(
        LogLines(window),
        QStringList({"--> VER", "<-- Q-Dax simulator 1.0", "--> VER", "<-- Q-Dax simulator 1.0"}),
        kWaitMs);
    QCOMPARE(device.Wire(), QByteArray("VER\rVER\r"));
    QVERIFY(scenario.Boxes().boxes.empty());
}

void PortE2eTest::changingThePortMovesToTheOtherDeviceAndKeepsTheLog() {
    Scenario scenario;
    Device& first = scenario.StartDevice({"--answer", "ONE"});
    Device& second = scenario.StartDevice({"--answer", "TWO"});
    TMainForm& window = scenario.OpenWindow();
    QCOMPARE(window.PortNames, std::vector<std::string>({first.ComName(), second.ComName()}));
    QCOMPARE(window.ComPortCombo->count(), 2);
    QCOMPARE(window.ComPortCombo->currentIndex(), 1);  // the second port, as at every start
    QCOMPARE(window.UploadFile->toPlainText(),
             QString::fromStdString(first.ComName() + "\n" + second.ComName() + "\n"));

    OpenPort(window, 0);
    Enter(window.ManualEntry, "A");
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window), QStringList({"--> A", "<-- ONE"}), kWaitMs);
    SerialPortInfo* port = window.Port;
    OpenPort(window, 1);
    Enter(window.ManualEntry, "B");

    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window),
                              QStringList({"--> A", "<-- ONE", "--> B", "<-- TWO"}), kWaitMs);
    QCOMPARE(window.Port, port);
    QCOMPARE(first.Wire(), QByteArray("A\r"));
    QCOMPARE(second.Wire(), QByteArray("B\r"));
    QVERIFY(scenario.Boxes().boxes.empty());
}

void PortE2eTest::withoutASelectedPortResetShowsTheIndexError_data() {
    QTest::addColumn<int>("devices");
    QTest::newRow("no port") << 0;
    QTest::newRow("one port, not yet picked") << 1;
}

void PortE2eTest::withoutASelectedPortResetShowsTheIndexError() {
    QFETCH(int, devices);
    Scenario scenario;
    for (int i = 0; i < devices; ++i) scenario.StartDevice();
    TMainForm& window = scenario.OpenWindow();
    QCOMPARE(window.ComPortCombo->count(), devices);
    QCOMPARE(window.ComPortCombo->currentIndex(), -1);

    Click(window.SetPortButton);

    const std::vector<RecordedBox>& boxes = scenario.Boxes().boxes;
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, QString("List index out of bounds (-1)"));
    QCOMPARE(boxes[0].caption, QString(kApplicationTitle));
    QCOMPARE(boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(window.Port, nullptr);
    QVERIFY(!window.ManualEntry->isEnabled());
    QVERIFY(!window.ButtonPanel->isEnabled());
}

void PortE2eTest::aPortThatCannotBeOpenedIsReportedAndCommandsAreLogged_data() {
    QTest::addColumn<Unopenable>("how");
    QTest::newRow("link left dangling") << Unopenable::KilledLeavingItsLink;
    QTest::newRow("link removed") << Unopenable::StoppedRemovingItsLink;
    QTest::newRow("held by another open") << Unopenable::HeldByAnotherOpen;
}

void PortE2eTest::aPortThatCannotBeOpenedIsReportedAndCommandsAreLogged() {
    QFETCH(Unopenable, how);
    Scenario scenario;
    Device& device = scenario.StartDevice();
    TMainForm& window = scenario.OpenWindow();
    std::unique_ptr<Holder> holder;
    // A killed device's pty number is free for another test's device at once, and the link it
    // left would lead there.
    if (how == Unopenable::KilledLeavingItsLink) device.KeepNumberTaken();
    if (how == Unopenable::HeldByAnotherOpen) {
        holder = std::make_unique<Holder>(device);
        QVERIFY(holder->Holding());
    } else {
        QVERIFY(how == Unopenable::KilledLeavingItsLink ? device.Kill().has_value()
                                                        : device.Stop().has_value());
        QCOMPARE(device.Linked(), how == Unopenable::KilledLeavingItsLink);
    }

    OpenPort(window, 0);

    const std::vector<RecordedBox>& boxes = scenario.Boxes().boxes;
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, QString("Unable to open serial port"));
    QCOMPARE(boxes[0].caption, QString("Error"));
    QCOMPARE(boxes[0].icon, QMessageBox::NoIcon);
    QVERIFY(window.Port != nullptr);
    QVERIFY(!window.Port->IsOpen());
    QVERIFY(window.ManualEntry->isEnabled());
    QVERIFY(window.ButtonPanel->isEnabled());
    Enter(window.ManualEntry, "VER");
    QCOMPARE(LogLines(window), QStringList({"--> VER"}));

    if (how == Unopenable::HeldByAnotherOpen) {
        // Once let go, the same port object opens it and the device answers.
        holder.reset();
        Click(window.SetPortButton);
        QVERIFY(window.Port->IsOpen());
        Enter(window.ManualEntry, "VER");
        QTRY_COMPARE_WITH_TIMEOUT(LogLines(window),
                                  QStringList({"--> VER", "--> VER", "<-- Q-Dax simulator 1.0"}),
                                  kWaitMs);
        QCOMPARE(device.Wire(), QByteArray("VER\r"));
        QCOMPARE(boxes.size(), std::size_t{1});
    }
}

void PortE2eTest::aDeviceVanishingMidPlaybackIsLoggedOnce_data() {
    QTest::addColumn<Vanishing>("how");
    QTest::addColumn<QStringList>("expectedLog");
    QTest::newRow("disconnects after two answers")
        << Vanishing::DisconnectsAfterTwoAnswers
        << QStringList({"--> L0", "<-- OK", "--> L1", "<-- OK", "--> L2", kNotConnected, "--> L3"});
    QTest::newRow("killed") << Vanishing::Killed
                            << QStringList({"--> L0", kNotConnected, "--> L1"});
}

// The read error counts as an answer and sends one more line, which goes nowhere. A device that
// comes back on the same name is used by the next "Reset Port", and its loss is reported anew.
void PortE2eTest::aDeviceVanishingMidPlaybackIsLoggedOnce() {
    QFETCH(Vanishing, how);
    QFETCH(QStringList, expectedLog);
    Scenario scenario;
    Device& device = scenario.StartDevice(
        how == Vanishing::Killed ? std::vector<std::string>{"--silent"}
                                 : std::vector<std::string>{"--disconnect-after", "2"});
    TMainForm& window = scenario.OpenWindowOnPort(0);
    LoadCommandFile(window, scenario.File("five.txt"), "L0\r\nL1\r\nL2\r\nL3\r\nL4\r\n");

    Click(window.PlayButton);
    if (how == Vanishing::Killed) {
        QTRY_COMPARE_WITH_TIMEOUT(device.Wire(), QByteArray("L0\r"), kWaitMs);
        QVERIFY(device.Kill().has_value());
    }

    QTRY_VERIFY_WITH_TIMEOUT(LogLines(window).contains(kNotConnected), kWaitMs);
    QTest::qWait(kQuietSpellMs);
    QCOMPARE(LogLines(window), expectedLog);
    QVERIFY(window.Playing);
    QVERIFY(device.Wire().startsWith(how == Vanishing::Killed ? "L0\r" : "L0\rL1\r"));
    if (how == Vanishing::DisconnectsAfterTwoAnswers) {
        QCOMPARE(device.WaitForExit(), std::optional<int>(0));
    }

    // The window goes on answering the operator.
    Click(window.StopButton);
    QVERIFY(window.ManualEntry->isEnabled());
    Enter(window.ManualEntry, "AFTER");
    QCOMPARE(LogLines(window), expectedLog + QStringList({"--> AFTER"}));

    device.RemoveLink();
    Device& again = scenario.StartDevice({"--com", device.ComName().substr(3)});
    QCOMPARE(again.ComName(), device.ComName());
    Click(window.SetPortButton);
    Enter(window.ManualEntry, "VER");
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(window).last(), QString("<-- Q-Dax simulator 1.0"), kWaitMs);
    QVERIFY(again.Kill().has_value());
    QTRY_COMPARE_WITH_TIMEOUT(CountOf(LogLines(window), kNotConnected), 2, kWaitMs);
    QTest::qWait(kQuietSpellMs);
    QCOMPARE(CountOf(LogLines(window), kNotConnected), 2);
    QCOMPARE(again.Wire(), QByteArray("VER\r"));
    QVERIFY(scenario.Boxes().boxes.empty());
}

QTEST_MAIN(PortE2eTest)
#include "port_e2e_test.moc"
