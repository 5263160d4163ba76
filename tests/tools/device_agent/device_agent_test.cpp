// The device agent's simulators, as the Windows tests use them, driven natively: each connection
// runs its own, published in the ports directory the agent links in, and the agent reports and
// acts on it as the tests on Linux do on their own simulators.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/device_agent_client.h"
#include "tests/support/pty_client.h"

namespace {

std::string PortsDir() {
    const char* dir = std::getenv("QDAX_PORTS_DIR");
    return dir != nullptr ? dir : "";
}

TEST(DeviceAgentSimulators, EachConnectionRunsOneAnsweringThroughItsComLink) {
    qdax_test::DeviceAgentClient first;
    qdax_test::DeviceAgentClient second;
    const auto one = first.Simulate({"--answer", "ONE"});
    const auto two = second.Simulate({"--answer", "TWO A"});
    EXPECT_NE(one.comName, two.comName);

    qdax_test::PtyClient port(PortsDir() + "/" + two.comName);
    port.send("VER\r");
    ASSERT_TRUE(port.receiveAtLeast(7));
    EXPECT_EQ(port.received(), "TWO A\r\n");
    EXPECT_EQ(second.Wire(), "VER\r");
    EXPECT_EQ(first.Wire(), "");
}

TEST(DeviceAgentSimulators, StoppedRemovesItsLinkKilledLeavesIt) {
    qdax_test::DeviceAgentClient stopped;
    qdax_test::DeviceAgentClient killed;
    stopped.Simulate({});
    killed.Simulate({});
    EXPECT_EQ(stopped.ExitStatus(), std::nullopt);
    EXPECT_TRUE(stopped.Linked());

    EXPECT_EQ(stopped.Stop(), 0);
    EXPECT_EQ(killed.Kill(), 128 + 9);

    EXPECT_EQ(stopped.ExitStatus(), 0);
    EXPECT_FALSE(stopped.Linked());
    EXPECT_TRUE(killed.Linked());
    killed.Unlink();
    EXPECT_FALSE(killed.Linked());
}

TEST(DeviceAgentSimulators, AHeldNumberKeepsALinkLeftBehindLeadingNowhere) {
    qdax_test::DeviceAgentClient device;
    const auto names = device.Simulate({});
    device.HoldNumber();
    device.Kill();
    qdax_test::DeviceAgentClient next;
    EXPECT_NE(next.Simulate({}).ptyPath, names.ptyPath);
    const int fd = open((PortsDir() + "/" + names.comName).c_str(), O_RDWR | O_NOCTTY);
    EXPECT_LT(fd, 0);
    if (fd >= 0) close(fd);
}

TEST(DeviceAgentSimulators, ARefusedStartIsReported) {
    qdax_test::DeviceAgentClient device;
    EXPECT_THROW(device.Simulate({"--no-such-option"}), std::runtime_error);
}

}  // namespace
