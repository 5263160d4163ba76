// Opening, failing to open and re-opening the port object, and the one reader it keeps.
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "serial/read_serial_thread.h"
#include "tests/serial/port_behaviour/port_fixture.h"

namespace port_behaviour {
namespace {

using PortOpening = PortBehaviour;

TEST_F(PortOpening, OpensByItsComNameAndDeliversEachLine) {
    auto port = Open(DevicePort());
    ASSERT_TRUE(port->IsOpen());
    EXPECT_NE(port->PortHandle(), INVALID_HANDLE_VALUE);
    ASSERT_NE(port->Reader(), nullptr);
    EXPECT_FALSE(port->Reader()->Suspended());
    device.Send("OK\r\nX\rY\r");
    EXPECT_TRUE(LinesBecome({"OK", "", "X", "Y"}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PortOpening, AFailedOpenIsShownOnceAndCreatesNoReader) {
    auto port = Open(kNoSuchPort);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->PortHandle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(port->Reader(), nullptr);
    ASSERT_EQ(boxes, std::vector<std::string>{"Error: Unable to open serial port"});
    EXPECT_EQ(boxCodes[0], static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(port->SerialPortWrite("LOST\r"))
        << "a write to no port fails, so it did not complete";

    Reopen(*port, DevicePort());
    ASSERT_TRUE(port->IsOpen());
    ASSERT_NE(port->Reader(), nullptr);
    device.Send("UP\r");
    EXPECT_TRUE(LinesBecome({"UP"}));
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(device.Received(), "") << "the failed write reached no device";
}

TEST_F(PortOpening, ReopeningKeepsExactlyOneReader) {
    auto port = Open(DevicePort());
    const ReadSerialThread* reader = port->Reader();
    for (int i = 0; i < 3; ++i) {
        Reopen(*port, DevicePort());
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
    device.Send(burst);
    EXPECT_TRUE(LinesBecome(expected));  // each once, in order: one reader takes them all
}

TEST_F(PortOpening, ReadsStayOneAtATimeUnderRepeatedHoldAndRelease) {
    // While the first answer is handed over, the second arrives: only a second read started
    // beside the first could take it now, and the next read, starting on the same record and
    // buffer, would wipe it out.
    const auto answerWhileHandingOver = [this](const char* line) {
        lines.emplace_back(line);
        if (lines.back().rfind("FIRST", 0) != 0) return;
        device.Send("SECOND" + lines.back().substr(5) + "\r");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    // A 1 ms interval keeps the reader inside the wait for its pending read nearly all the time,
    // where each re-open's hold, release and wake-up finds it.
    constexpr std::int32_t kShortInterval = 1;
    SerialPortInfo port(DevicePort(), 19200, ParityNone, StopBitsOne, kShortInterval,
                        WriteModeOverlapped, answerWhileHandingOver);
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i) {
        port.OpenPort(DevicePort(), 19200, ParityNone, StopBitsOne, kShortInterval,
                      WriteModeOverlapped);
        ASSERT_TRUE(port.IsOpen());
        device.Send("FIRST" + std::to_string(i) + "\r");
        expected.push_back("FIRST" + std::to_string(i));
        expected.push_back("SECOND" + std::to_string(i));
        ASSERT_TRUE(LinesBecome(expected)) << "at " << expected.back();
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PortOpening, AFailedReopenLeavesTheReaderHeldUntilAnOpenSucceeds) {
    auto port = Open(DevicePort());
    Reopen(*port, kNoSuchPort);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->PortHandle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(boxes.size(), 1u);
    ASSERT_NE(port->Reader(), nullptr);
    EXPECT_TRUE(port->Reader()->Suspended());
    device.Send("WAITING\r");
    ServeAWhile();
    EXPECT_TRUE(lines.empty()) << "a held reader hands nothing over";

    Reopen(*port, DevicePort());
    ASSERT_TRUE(port->IsOpen());
    EXPECT_FALSE(port->Reader()->Suspended());
    EXPECT_TRUE(LinesBecome({"WAITING"})) << "what came meanwhile waits for the next open";
}

TEST_F(PortOpening, APortHeldByAnotherOpenCannotBeOpenedAgain) {
    auto first = Open(DevicePort());
    ASSERT_TRUE(first->IsOpen());
    auto second = Open(DevicePort());
    EXPECT_FALSE(second->IsOpen());
    EXPECT_EQ(second->Reader(), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxCodes[0], static_cast<DWORD>(ERROR_ACCESS_DENIED));
    device.Send("FIRST\r");
    EXPECT_TRUE(LinesBecome({"FIRST"})) << "the refused open left the first one alone";
}

TEST_F(PortOpening, ACallbackSetWithoutReaderReachesTheReaderOfTheNextOpen) {
    SerialPortInfo port(kNoSuchPort);
    EXPECT_EQ(port.Reader(), nullptr);
    port.SetCallback(Collect());
    Reopen(port, DevicePort());
    device.Send("NEW\r");
    EXPECT_TRUE(LinesBecome({"NEW"}));
}

}  // namespace
}  // namespace port_behaviour
