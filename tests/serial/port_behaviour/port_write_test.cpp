// What the port object writes reaches the device byte for byte, in both open modes.
#include <string>

#include "tests/serial/port_behaviour/port_fixture.h"

namespace port_behaviour {
namespace {

class Writing : public PortBehaviour, public testing::WithParamInterface<ModeCase> {};

TEST_P(Writing, ReachesTheDeviceByteForByteAndInOrder) {
    auto port = Open(DevicePort(), GetParam().mode);
    ASSERT_TRUE(port->IsOpen());
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    std::string longCommand;
    for (int i = 0; i < 5000; ++i) longCommand += static_cast<char>('A' + i % 26);
    longCommand += '\r';  // past any per-write limit: nothing may be cut

    port->SerialPortWrite("VER\r");
    port->SerialPortWrite(everyByte);
    port->SerialPortWrite(longCommand);
    const std::string expected = "VER\r" + everyByte + longCommand;
    EXPECT_EQ(device.ReceiveAtLeast(expected.size()), expected);
}

TEST_P(Writing, OwnsItsBytesOnceStarted) {
    auto port = Open(DevicePort(), GetParam().mode);
    {
        std::string text = "FIRST\r";
        port->SerialPortWrite(text);
        text.assign(text.size(), '#');  // the caller's text changes at once
    }
    EXPECT_EQ(device.ReceiveAtLeast(6), "FIRST\r");
}

INSTANTIATE_TEST_SUITE_P(Modes, Writing, testing::ValuesIn(BothModes()), ModeName);

}  // namespace
}  // namespace port_behaviour
