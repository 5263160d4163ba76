// The port object against pseudo-terminals, where only a pty shows it: opening by device path
// and the line settings that reach the line. Everything else runs in tests/port_behaviour.
#include "serial/serial_port_info.h"

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/port_sources.h"
#include "tests/platform/test_dispatcher.h"
#include "tests/serial/line_requests.h"
#include "tests/support/pty_device.h"
#include "tests/support/temp_dir.h"
#include "tests/support/thread_switches.h"

namespace {

// The line settings of the device end, as the code under test left them: on Linux the termios
// calls on a pty master act on its line.
termios LineOf(const qdax_test::PtyDevice& device) {
    termios line{};
    tcgetattr(device.MasterFd(), &line);
    return line;
}

class SerialPort : public testing::Test {
protected:
    SerialPort() { platform::ConfigurePortSources({"", ports.path()}); }
    ~SerialPort() override { platform::ConfigurePortSources({}); }

    std::unique_ptr<SerialPortInfo> Open(const std::string& name, std::int32_t baud = 19200) {
        return std::make_unique<SerialPortInfo>(
            name, baud, ParityNone, StopBitsOne, 50, WriteModeOverlapped,
            [this](const char* line) { lines.emplace_back(line); });
    }
    bool LinesBecome(const std::vector<std::string>& expected) {
        window.ServeUntil([&] { return lines.size() >= expected.size(); });
        return lines == expected;
    }

    TestDispatcher window;
    qdax_test::TempDir ports;
    std::vector<std::string> lines;
};

TEST_F(SerialPort, OpensByDevicePathToo) {
    qdax_test::PtyDevice device;
    auto port = Open(device.SlavePath());
    ASSERT_TRUE(port->IsOpen());
    ASSERT_TRUE(device.Write("HELLO\r"));
    EXPECT_TRUE(LinesBecome({"HELLO"}));
}

struct BaudCase {
    std::int32_t baud;
    speed_t speed;
};

class SerialPortBaud : public SerialPort, public testing::WithParamInterface<BaudCase> {};

TEST_P(SerialPortBaud, EveryRateOfTheChooserReachesTheLineWith8N1) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM3");
    auto port = Open("COM3", GetParam().baud);
    ASSERT_TRUE(port->IsOpen());
    const termios line = LineOf(device);
    EXPECT_EQ(cfgetospeed(&line), GetParam().speed);
    EXPECT_EQ(cfgetispeed(&line), GetParam().speed);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(line.c_lflag & (ECHO | ICANON), 0u);  // raw: nothing is echoed or edited
}

INSTANTIATE_TEST_SUITE_P(Rates, SerialPortBaud,
                         testing::Values(BaudCase{9600, B9600}, BaudCase{19200, B19200},
                                         BaudCase{38400, B38400}, BaudCase{57600, B57600},
                                         BaudCase{115200, B115200}, BaudCase{230400, B230400},
                                         BaudCase{460800, B460800}, BaudCase{921600, B921600}));

struct FramingCase {
    const char* name;
    ParityType parity;
    StopBitsType stopBits;
    tcflag_t expectedFlags;  // of PARENB, PARODD, CMSPAR, CSTOPB
    bool parityChecked;      // INPCK

    friend void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }
};

class SerialPortFraming : public SerialPort, public testing::WithParamInterface<FramingCase> {};

TEST_P(SerialPortFraming, ParityAndStopBitsReachTheLine) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM4");
    serial_test::ForgetLineRequests();
    auto port = Open("COM4");  // asks for no parity and one stop bit; the calls below may change it
    port->SetParity(GetParam().parity);
    port->SetStopBits(GetParam().stopBits);

    const tcflag_t framing = PARENB | PARODD | CMSPAR | CSTOPB;
    const tcflag_t checked = GetParam().parityChecked ? INPCK : 0;
    const std::optional<serial_test::LineRequest> asked = serial_test::LastLineRequest();
    ASSERT_TRUE(asked.has_value()) << "the settings were not applied";
    EXPECT_EQ(asked->cflag & framing, GetParam().expectedFlags);
    EXPECT_EQ(asked->iflag & INPCK, checked);
    // The pty driver clears PARENB (a pty has no parity) and keeps the rest.
    const tcflag_t kept = PARODD | CMSPAR | CSTOPB;
    const termios line = LineOf(device);
    EXPECT_EQ(line.c_cflag & kept, GetParam().expectedFlags & kept);
    EXPECT_EQ(line.c_iflag & INPCK, checked);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SerialPortFraming,
    testing::Values(FramingCase{"None", ParityNone, StopBitsOne, 0, false},
                    FramingCase{"Even", ParityEven, StopBitsOne, PARENB, true},
                    FramingCase{"Odd", ParityOdd, StopBitsOne, PARENB | PARODD, true},
                    FramingCase{"Mark", ParityMark, StopBitsOne, PARENB | PARODD | CMSPAR, true},
                    FramingCase{"TwoStopBits", ParityNone, StopBitsTwo, CSTOPB, false},
                    // Out of range: the line keeps what it had, but checking follows the value.
                    FramingCase{"UnknownParity", static_cast<ParityType>(7), StopBitsOne, 0, true},
                    FramingCase{"UnknownStopBits", ParityNone, static_cast<StopBitsType>(9), 0,
                                false}),
    [](const testing::TestParamInfo<FramingCase>& info) { return info.param.name; });

TEST_F(SerialPort, SetBaudChangesAnOpenLineAndOnlyStoresOnAClosedOne) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM5");
    auto port = Open("COM5");
    port->SetBaud(57600);
    termios line = LineOf(device);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B57600));
    port->ClosePort();
    port->SetBaud(115200);
    EXPECT_EQ(port->BaudRate(), 115200);
    port->SetParity(ParityEven);  // tries a closed port: stored, nothing else
    EXPECT_EQ(port->Parity(), ParityEven);
    EXPECT_FALSE(port->IsOpen());
}

// A device that reads late: a write still in progress when the port object goes is let finish in
// the time its bytes take at the port's rate, not cancelled at once. (A slow rate, so that the
// time one transfer may take without progress is long even on a loaded machine.)
TEST_F(SerialPort, AWriteInProgressAtTheCloseFinishesForADeviceThatReadsLate) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM5");
    auto port = Open("COM5", 300);
    ASSERT_TRUE(port->IsOpen());
    const std::string bytes(256 * 1024, 'w');
    ASSERT_TRUE(port->SerialPortWrite(bytes)) << "more than the line holds stays in progress";

    const int closingThread = static_cast<int>(syscall(SYS_gettid));
    std::string arrived;
    std::thread lateDevice([&] {
        // Reads only once the close waits, so that the write is still in progress then.
        if (qdax_test::BecomesBlocked(closingThread)) arrived = device.Read(bytes.size());
    });
    port.reset();
    lateDevice.join();
    EXPECT_EQ(arrived.size(), bytes.size());
}

}  // namespace
