// The port object and its reader against real pseudo-terminals.
#include "serial/serial_port_info.h"

#include <gtest/gtest.h>

#include <termios.h>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/port_sources.h"
#include "serial/read_serial_thread.h"
#include "tests/serial/test_dispatcher.h"
#include "tests/support/pty_device.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"

namespace {

using namespace std::chrono_literals;

// The line settings of the device end, as the code under test left them: on Linux the termios
// calls on a pty master act on its line.
termios LineOf(const qdax_test::PtyDevice& device) {
    termios line{};
    tcgetattr(device.MasterFd(), &line);
    return line;
}

class SerialPort : public testing::Test {
protected:
    SerialPort() {
        platform::ConfigurePortSources({"", ports.path()});
        previousBox = platform::SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, DWORD code) {
                boxes.push_back(caption + ": " + text);
                boxCodes.push_back(code);
            });
    }
    ~SerialPort() override {
        platform::SetMessageBoxHandler(previousBox);
        platform::ConfigurePortSources({});
    }

    LineReceivedCallback Collect() {
        return [this](const char* line) { lines.emplace_back(line); };
    }
    std::unique_ptr<SerialPortInfo> Open(const std::string& name, std::int32_t baud = 19200) {
        return std::make_unique<SerialPortInfo>(name, baud, ParityNone, StopBitsOne, 50,
                                                WriteModeOverlapped, Collect());
    }
    bool LinesBecome(const std::vector<std::string>& expected) {
        window.ServeUntil([&] { return lines.size() >= expected.size(); });
        return lines == expected;
    }
    // Serves the window thread for a while; only to show that nothing more arrives.
    void ServeAWhile() {
        window.ServeUntil([] { return false; }, 300ms);
    }

    TestDispatcher window;
    qdax_test::TempDir ports;
    std::vector<std::string> lines;
    std::vector<std::string> boxes;
    std::vector<DWORD> boxCodes;
    platform::MessageBoxHandler previousBox;
};

TEST_F(SerialPort, OpensThroughItsComLinkAndDeliversEachLine) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM7");
    auto port = Open("COM7");
    ASSERT_TRUE(port->IsOpen());
    ASSERT_NE(port->Reader(), nullptr);
    EXPECT_FALSE(port->Reader()->Suspended());
    ASSERT_TRUE(device.Write("OK\r\nX\rY\r"));
    EXPECT_TRUE(LinesBecome({"OK", "", "X", "Y"}));
    EXPECT_TRUE(boxes.empty());
}

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
};

class SerialPortFraming : public SerialPort, public testing::WithParamInterface<FramingCase> {};

TEST_P(SerialPortFraming, ParityAndStopBitsReachTheLine) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM4");
    auto port = Open("COM4");
    port->SetParity(GetParam().parity);
    port->SetStopBits(GetParam().stopBits);
    // The pty driver always clears PARENB (a pty has no parity), so the rest of the parity
    // setting is what shows that it reached the line.
    const tcflag_t shown = PARODD | CMSPAR | CSTOPB;
    const termios line = LineOf(device);
    EXPECT_EQ(line.c_cflag & shown, GetParam().expectedFlags & shown);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SerialPortFraming,
    testing::Values(FramingCase{"None", ParityNone, StopBitsOne, 0},
                    FramingCase{"Even", ParityEven, StopBitsOne, PARENB},
                    FramingCase{"Odd", ParityOdd, StopBitsOne, PARENB | PARODD},
                    FramingCase{"Mark", ParityMark, StopBitsOne, PARENB | PARODD | CMSPAR},
                    FramingCase{"TwoStopBits", ParityNone, StopBitsTwo, CSTOPB},
                    // Out of range: the line keeps what it had.
                    FramingCase{"UnknownParity", static_cast<ParityType>(7), StopBitsOne, 0},
                    FramingCase{"UnknownStopBits", ParityNone, static_cast<StopBitsType>(9), 0}),
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

TEST_F(SerialPort, WritesReachTheWireByteForByteAndInOrder) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM6");
    auto port = Open("COM6");
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    std::string longCommand;
    for (int i = 0; i < 5000; ++i) longCommand += static_cast<char>('A' + i % 26);
    longCommand += '\r';  // past any per-write limit: nothing may be cut

    port->SerialPortWrite("VER\r");
    port->SerialPortWrite(everyByte);
    port->SerialPortWrite(longCommand);
    const std::string expected = "VER\r" + everyByte + longCommand;
    EXPECT_EQ(device.Read(expected.size()), expected);
}

TEST_F(SerialPort, AWriteOwnsItsBytesOnceStarted) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM6");
    auto port = Open("COM6");
    {
        std::string text = "FIRST\r";
        port->SerialPortWrite(text);
        text.assign(text.size(), '#');  // the caller's text changes at once
    }
    EXPECT_EQ(device.Read(6), "FIRST\r");
}

TEST_F(SerialPort, AFailedOpenIsShownOnceAndCreatesNoReader) {
    auto port = Open("COM99");
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->PortHandle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(port->Reader(), nullptr);
    ASSERT_EQ(boxes, std::vector<std::string>{"Error: Unable to open serial port"});
    EXPECT_EQ(boxCodes[0], static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(port->SerialPortWrite("LOST\r"))
        << "a write to no port fails, so it did not complete";

    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM99");
    port->OpenPort("COM99", 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped);
    ASSERT_TRUE(port->IsOpen());
    ASSERT_NE(port->Reader(), nullptr);
    ASSERT_TRUE(device.Write("UP\r"));
    EXPECT_TRUE(LinesBecome({"UP"}));
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(SerialPort, ReopeningKeepsExactlyOneReader) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    auto port = Open("COM2");
    const ReadSerialThread* reader = port->Reader();
    for (int i = 0; i < 3; ++i) {
        port->OpenPort("COM2", 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped);
        ASSERT_TRUE(port->IsOpen());
        EXPECT_EQ(port->Reader(), reader);
        EXPECT_FALSE(port->Reader()->Suspended());
    }
    std::vector<std::string> expected;
    std::string burst;
    for (int i = 0; i < 40; ++i) {
        expected.push_back("LINE" + std::to_string(i));
        burst += expected.back() + "\r";
    }
    ASSERT_TRUE(device.Write(burst));
    EXPECT_TRUE(LinesBecome(expected));  // each once, in order: one reader takes them all
}

TEST_F(SerialPort, AFailedReopenLeavesTheReaderHeldUntilAnOpenSucceeds) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    auto port = Open("COM2");
    port->OpenPort("COM98", 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(boxes.size(), 1u);
    ASSERT_NE(port->Reader(), nullptr);
    EXPECT_TRUE(port->Reader()->Suspended());
    ServeAWhile();
    EXPECT_TRUE(lines.empty());

    port->OpenPort("COM2", 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped);
    ASSERT_TRUE(port->IsOpen());
    EXPECT_FALSE(port->Reader()->Suspended());
    ASSERT_TRUE(device.Write("AGAIN\r"));
    EXPECT_TRUE(LinesBecome({"AGAIN"}));
}

TEST_F(SerialPort, ClosingWhileAReadIsPendingHoldsTheReaderPromptly) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    auto port = Open("COM2");
    ServeAWhile();  // the silent device leaves a read pending
    auto closing = std::async(std::launch::async, [&] { port->ClosePort(); });
    ASSERT_EQ(closing.wait_for(qdax_test::kGenerousTimeout), std::future_status::ready);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->PortHandle(), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(port->Reader()->Suspended());
}

TEST_F(SerialPort, APlainPortDeliversLinesAndClosesWhileItsDeviceIsSilent) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    SerialPortInfo port("COM2", 19200, ParityNone, StopBitsOne, 50, WriteModePlain, Collect());
    ASSERT_TRUE(port.IsOpen());
    ASSERT_TRUE(device.Write("PLAIN\r"));
    ASSERT_TRUE(LinesBecome({"PLAIN"}));
    // The reader now waits in a plain read that only data would end.
    auto closing = std::async(std::launch::async, [&] { port.ClosePort(); });
    ASSERT_EQ(closing.wait_for(qdax_test::kGenerousTimeout), std::future_status::ready);
    EXPECT_TRUE(port.Reader()->Suspended());

    port.OpenPort("COM2", 19200, ParityNone, StopBitsOne, 50, WriteModePlain);
    ASSERT_TRUE(device.Write("AGAIN\r"));
    EXPECT_TRUE(LinesBecome({"PLAIN", "AGAIN"})) << "the ended read is no error report";
    EXPECT_FALSE(port.SerialPortWrite("W\r")) << "a plain write completes within the call";
    EXPECT_EQ(device.Read(2), "W\r");
}

TEST_F(SerialPort, AReadEndedByClosingCountsAsAnEmptyRead) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    auto port = Open("COM2");
    ASSERT_TRUE(device.Write("AB"));  // a partial line: it waits for two empty reads in a row
    ServeAWhile();
    ASSERT_TRUE(lines.empty()) << "a silent device gives no empty reads";
    // Only re-opening, which ends the pending read as an empty one, can deliver it now. A re-open
    // that comes before the reader started its next read ends nothing, so count the tries.
    int reopens = 0;
    while (lines.empty() && reopens < 20) {
        port->OpenPort("COM2", 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped);
        ++reopens;
        window.ServeUntil([&] { return !lines.empty(); }, 300ms);
    }
    EXPECT_EQ(lines, std::vector<std::string>{"AB"});
    EXPECT_GE(reopens, 2) << "one empty read only marks the line idle";
}

TEST_F(SerialPort, APartialLineContinuesAcrossAReopen) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    auto port = Open("COM2");
    ASSERT_TRUE(device.Write("AB"));
    ServeAWhile();
    port->OpenPort("COM2", 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped);
    ASSERT_TRUE(device.Write("C\r"));
    EXPECT_TRUE(LinesBecome({"ABC"}));
}

TEST_F(SerialPort, AVanishedDeviceIsReportedOnceUntilTheNextOpen) {
    auto device = std::make_unique<qdax_test::PtyDevice>();
    device->LinkAs(ports.path(), "COM8");
    auto port = Open("COM8");
    device->CloseMaster();
    const std::vector<std::string> report{"The device is not connected.", ""};
    EXPECT_TRUE(LinesBecome(report));
    ServeAWhile();
    EXPECT_EQ(lines, report) << "a lasting error is reported once";

    device = std::make_unique<qdax_test::PtyDevice>();
    device->LinkAs(ports.path(), "COM8");
    port->OpenPort("COM8", 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped);
    ASSERT_TRUE(device->Write("BACK\r"));
    EXPECT_TRUE(LinesBecome({report[0], report[1], "BACK"}));
    device->CloseMaster();
    EXPECT_TRUE(LinesBecome({report[0], report[1], "BACK", report[0], report[1]}));
}

TEST_F(SerialPort, AFailingCallbackIsShownOnTheWindowThreadAndReadingGoesOn) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    auto port = std::make_unique<SerialPortInfo>(
        "COM2", 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped, [this](const char* line) {
            lines.emplace_back(line);
            if (lines.back() == "BAD") throw std::runtime_error("cannot take BAD");
        });
    ASSERT_TRUE(device.Write("BAD\r"));
    ASSERT_TRUE(LinesBecome({"BAD"}));
    ASSERT_TRUE(device.Write("GOOD\r"));
    EXPECT_TRUE(LinesBecome({"BAD", "GOOD"}));
    EXPECT_EQ(window.errors, std::vector<std::string>{"cannot take BAD"});
}

TEST_F(SerialPort, ACallbackSetWithoutReaderReachesTheReaderOfTheNextOpen) {
    SerialPortInfo port("COM97");  // no such port: no reader
    EXPECT_EQ(port.Reader(), nullptr);
    port.SetCallback(Collect());
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM97");
    port.OpenPort("COM97", 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped);
    ASSERT_TRUE(device.Write("NEW\r"));
    EXPECT_TRUE(LinesBecome({"NEW"}));
}

TEST_F(SerialPort, DestroyingNeverWaitsForAHandOverTheWindowHasNotServed) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    auto port = Open("COM2");
    ASSERT_TRUE(device.Write("QUEUED\r"));
    ASSERT_TRUE(qdax_test::WaitUntil([&] { return window.Queued() > 0; }));
    // This thread is the window thread: the destructor must not need it to serve the hand-over.
    auto destroying = std::async(std::launch::async, [&] { port.reset(); });
    ASSERT_EQ(destroying.wait_for(qdax_test::kGenerousTimeout), std::future_status::ready);
    window.ServeUntil([&] { return window.Queued() == 0; });
    EXPECT_TRUE(lines.empty());
}

TEST_F(SerialPort, DestroyingWhileAReadIsPendingOrAfterAFailedReopenEnds) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    auto pending = Open("COM2");
    ServeAWhile();
    auto held = Open("COM2", 9600);  // refused: the first holds the line
    ASSERT_FALSE(held->IsOpen());
    auto destroying = std::async(std::launch::async, [&] {
        pending.reset();
        held.reset();
    });
    EXPECT_EQ(destroying.wait_for(qdax_test::kGenerousTimeout), std::future_status::ready);
}

TEST_F(SerialPort, APortHeldByAnotherOpenCannotBeOpenedAgain) {
    qdax_test::PtyDevice device;
    device.LinkAs(ports.path(), "COM2");
    auto first = Open("COM2");
    ASSERT_TRUE(first->IsOpen());
    auto second = Open("COM2");
    EXPECT_FALSE(second->IsOpen());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxCodes[0], static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

}  // namespace
