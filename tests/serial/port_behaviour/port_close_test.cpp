// Closing, re-opening and destroying the port object while its reader waits in a read.
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "serial/read_serial_thread.h"
#include "tests/serial/port_behaviour/port_fixture.h"
#include "tests/support/wait_until.h"

namespace port_behaviour {
namespace {

class ClosingAPendingRead : public PortBehaviour, public testing::WithParamInterface<ModeCase> {};

TEST_P(ClosingAPendingRead, EndsItPromptlyAndTheReopenedPortReadsOn) {
    const WriteModeType mode = GetParam().mode;
    auto port = Open(DevicePort(), mode);
    ASSERT_TRUE(port->IsOpen());
    device.Send("FIRST\r");
    ASSERT_TRUE(LinesBecome({"FIRST"}));
    // The device is silent now: the reader waits in a read that only data would end.
    auto closing = std::async(std::launch::async, [&] { port->ClosePort(); });
    ASSERT_EQ(closing.wait_for(qdax_test::kGenerousTimeout), std::future_status::ready);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->PortHandle(), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(port->Reader()->Suspended());

    Reopen(*port, DevicePort(), mode);
    ASSERT_TRUE(port->IsOpen());
    EXPECT_FALSE(port->Reader()->Suspended());
    device.Send("AGAIN\r");
    EXPECT_TRUE(LinesBecome({"FIRST", "AGAIN"})) << "the ended read is no error report";
    const bool stillWriting = port->SerialPortWrite("W\r");
    if (mode == WriteModePlain) {
        EXPECT_FALSE(stillWriting) << "a plain write completes at once";
    }
    EXPECT_EQ(device.ReceiveAtLeast(2), "W\r");
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, ClosingAPendingRead, testing::ValuesIn(BothModes()), ModeName);

class ClosingAfterAWrite : public PortBehaviour, public testing::WithParamInterface<ModeCase> {};

// Reset Port, closing the program and the player's end all let the port object go right after
// the last command: each command must still reach the device whole.
TEST_P(ClosingAfterAWrite, EveryCommandReachesTheDeviceWhole) {
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        auto port = Open(DevicePort(), GetParam().mode);
        ASSERT_TRUE(port->IsOpen()) << "open " << i;
        const std::string command = "C" + std::to_string(i) + "\r";
        port->SerialPortWrite(command);
        expected += command;
    }
    const std::string arrived = device.ReceiveAtLeast(expected.size());
    EXPECT_EQ(arrived.size(), expected.size()) << "commands were cut short at a close";
    EXPECT_EQ(arrived, expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, ClosingAfterAWrite, testing::ValuesIn(BothModes()), ModeName);

TEST_F(PortBehaviour, AReadEndedByClosingCountsAsAnEmptyRead) {
    auto port = Open(DevicePort());
    device.Send("AB");  // a partial line: it waits for two empty reads in a row
    ASSERT_TRUE(HandOverAfter(0));
    ServeAWhile();
    ASSERT_TRUE(lines.empty()) << "a silent device gives no empty reads";
    // Only re-opening, which ends the pending read as an empty one, can deliver it now. A re-open
    // that comes before the reader started its next read ends nothing, so count the tries.
    int reopens = 0;
    while (lines.empty() && reopens < 20) {
        Reopen(*port, DevicePort());
        ++reopens;
        window.ServeUntil([&] { return !lines.empty(); }, std::chrono::milliseconds(300));
    }
    EXPECT_EQ(lines, std::vector<std::string>{"AB"});
    EXPECT_GE(reopens, 2) << "one empty read only marks the line idle";
}

TEST_F(PortBehaviour, APartialLineContinuesAcrossAReopen) {
    auto port = Open(DevicePort());
    device.Send("AB");
    ASSERT_TRUE(HandOverAfter(0));
    Reopen(*port, DevicePort());
    device.Send("C\r");
    EXPECT_TRUE(LinesBecome({"ABC"}));
}

TEST_F(PortBehaviour, DestroyingNeverWaitsForAHandOverTheWindowHasNotServed) {
    auto port = Open(DevicePort());
    device.Send("QUEUED\r");
    ASSERT_TRUE(qdax_test::WaitUntil([&] { return window.Queued() > 0; }));
    // This thread is the window thread: the destructor must not need it to serve the hand-over.
    auto destroying = std::async(std::launch::async, [&] { port.reset(); });
    ASSERT_EQ(destroying.wait_for(qdax_test::kGenerousTimeout), std::future_status::ready);
    window.ServeUntil([&] { return window.Queued() == 0; });
    EXPECT_TRUE(lines.empty());
}

TEST_F(PortBehaviour, DestroyingWhileAReadIsPendingOrAfterAFailedReopenEnds) {
    auto held = Open(DevicePort());
    Reopen(*held, kNoSuchPort);  // closed, its reader held
    ASSERT_TRUE(held->Reader()->Suspended());
    auto pending = Open(DevicePort());
    ASSERT_TRUE(pending->IsOpen());
    ServeAWhile();  // the silent device leaves a read pending
    auto destroying = std::async(std::launch::async, [&] {
        pending.reset();
        held.reset();
    });
    EXPECT_EQ(destroying.wait_for(qdax_test::kGenerousTimeout), std::future_status::ready);
}

}  // namespace
}  // namespace port_behaviour
