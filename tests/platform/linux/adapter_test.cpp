// "Reset Port" with USB adapters as operators handle them on Linux: one pulled and plugged back in
// under another tty name while the window runs, and one whose device stopped reading, so that
// what the window wrote is stuck on the way out. Devices are simulators behind fake sysfs and
// /dev trees.
#include <signal.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/services/application_title.h"
#include "app/window/daxtest.h"
#include "platform/linux/linux_ports.h"
#include "platform/port_sources.h"
#include "serial/serial_port_info.h"
#include "tests/gui/gui_support.h"
#include "tests/platform/linux/fake_sysfs.h"
#include "tests/support/recording.h"
#include "tests/support/simulator_process.h"
#include "tests/support/temp_dir.h"

namespace {

using linux_ports_test::FakeSysfs;
using linux_ports_test::UsbStrings;

// Far more than any Reset Port or close takes, and far less than the 30 s a tty's close may
// wait for output that does not drain.
constexpr qint64 kPromptlyMs = 10000;

UsbStrings Ftdi(const std::string& serial) {
    return {"0403", "6001", "FTDI", "FT232R USB UART", serial};
}

// The port sources the window opens COM names through, while the object lives.
class ConfiguredSources {
public:
    explicit ConfiguredSources(const platform::PortSources& sources)
        : previous_(platform::ConfiguredPortSources()) {
        platform::ConfigurePortSources(sources);
    }
    ~ConfiguredSources() { platform::ConfigurePortSources(previous_); }
    ConfiguredSources(const ConfiguredSources&) = delete;
    ConfiguredSources& operator=(const ConfiguredSources&) = delete;

private:
    platform::PortSources previous_;
};

// A simulated adapter whose answers name it, recording what it receives.
struct Adapter {
    Adapter(const qdax_test::TempDir& scratch, const std::string& name)
        : wire(scratch.file(name + ".wire")),
          device(scratch.path(), {"--answer", name, "--record", wire}) {}

    std::string wire;
    qdax_test::SimulatorProcess device;
};

// Picks the window's one port, which starts unselected, and presses Reset Port; true when the
// port is open.
bool ResetTheOnlyPort(TMainForm& window) {
    window.ComPortCombo->setCurrentIndex(0);
    window.SetPortButton->click();
    return window.Port != nullptr && window.Port->IsOpen();
}

}  // namespace

class AdapterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }

    void resetAfterAReplugReachesTheSameAdapter();
    void resetAndCloseReturnPromptlyWhileTheDeviceStoppedReading();
};

void AdapterTest::resetAfterAReplugReachesTheSameAdapter() {
    qdax_test::TempDir sysfsDir;
    qdax_test::TempDir devDir;
    qdax_test::TempDir scratch;
    FakeSysfs sysfs(sysfsDir.path());
    const platform::PortSources sources{sysfsDir.path(), "", devDir.path()};
    const ConfiguredSources configured(sources);
    // The tty's device node stands for the adapter's: a link to the simulator's terminal.
    const auto plug = [&](const std::string& tty, const std::string& serial, Adapter& adapter) {
        sysfs.AddUsbSerial(tty, Ftdi(serial));
        std::filesystem::create_symlink(adapter.device.ptyPath(), devDir.file(tty));
    };

    auto first = std::make_unique<Adapter>(scratch, "FIRST");
    plug("ttyUSB0", "Q7RP0001", *first);
    const std::vector<platform::LinuxSerialPort> listed = platform::ScanSerialPorts(sources);
    QCOMPARE(listed.size(), std::size_t{1});
    const std::string comName = listed[0].comName;
    TestWindow test(std::vector<TestPort>{{comName, listed[0].friendlyName}});
    TMainForm& window = *test.form;
    QVERIFY(ResetTheOnlyPort(window));
    window.SendCommand("A");
    QTRY_VERIFY(window.SendLog->toPlainText().endsWith("<-- FIRST"));

    // Pulled: the device and its tty go.
    first.reset();
    sysfs.Unplug("ttyUSB0");
    std::filesystem::remove(devDir.file("ttyUSB0"));
    QTRY_VERIFY(window.SendLog->toPlainText().endsWith("<-- The device is not connected."));
    window.SetPortButton->click();
    QCOMPARE(test.runner.boxes.size(), std::size_t{1});
    QCOMPARE(test.runner.boxes[0].text, QString("Unable to open serial port"));
    QVERIFY(test.runner.boxes[0].informativeText.contains("adapter is not plugged in"));

    // Another adapter takes the old tty name; the name chosen is still not plugged in.
    Adapter other(scratch, "OTHER");
    plug("ttyUSB0", "Q7RP0002", other);
    window.SetPortButton->click();
    QCOMPARE(test.runner.boxes.size(), std::size_t{2});
    QVERIFY(test.runner.boxes[1].informativeText.contains("adapter is not plugged in"));

    // Plugged back in, it comes up under a new tty name.
    Adapter back(scratch, "BACK");
    plug("ttyUSB1", "Q7RP0001", back);
    window.SetPortButton->click();
    QCOMPARE(test.runner.boxes.size(), std::size_t{2});
    QVERIFY(window.Port->IsOpen());
    window.SendCommand("B");
    QTRY_VERIFY(window.SendLog->toPlainText().endsWith("--> B\n<-- BACK"));
    QCOMPARE(qdax_test::ReadRecording(back.wire), std::string("B\r"));
    QCOMPARE(qdax_test::ReadRecording(other.wire), std::string());
}

void AdapterTest::resetAndCloseReturnPromptlyWhileTheDeviceStoppedReading() {
    qdax_test::TempDir portsDir;
    const ConfiguredSources configured(platform::PortSources{"", portsDir.path()});
    qdax_test::SimulatorProcess device(portsDir.path());
    auto test = std::make_unique<TestWindow>(std::vector<TestPort>{{device.comName(), "Device"}});
    TMainForm& window = *test->form;
    QVERIFY(ResetTheOnlyPort(window));
    window.SendCommand("VER");
    QTRY_VERIFY(window.SendLog->toPlainText().endsWith("<-- Q-Dax simulator 1.0"));

    // The device stops reading; far more than a pseudo-terminal holds is written to it.
    QCOMPARE(kill(device.pid(), SIGSTOP), 0);
    // A stopped simulator would not take the signal that ends it.
    struct Resume {
        pid_t pid;
        ~Resume() { kill(pid, SIGCONT); }
    } resume{device.pid()};
    const auto fillTheLine = [&] {
        for (int i = 0; i < 16; ++i) window.SendCommand(std::string(4000, 'w'));
    };
    fillTheLine();

    QElapsedTimer clock;
    clock.start();
    window.SetPortButton->click();
    const qint64 resetMs = clock.elapsed();
    QVERIFY2(resetMs < kPromptlyMs, qPrintable(QString("Reset Port took %1 ms").arg(resetMs)));
    QVERIFY(window.Port->IsOpen());

    fillTheLine();
    clock.restart();
    window.close();
    test.reset();
    const qint64 closeMs = clock.elapsed();
    QVERIFY2(closeMs < kPromptlyMs, qPrintable(QString("closing took %1 ms").arg(closeMs)));
}

QTEST_MAIN(AdapterTest)
#include "adapter_test.moc"
