// Floods: every line arrives, in order, even when the pseudo-terminal fills up on the way; a
// device pouring out floods or spew still stops when told.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/pty_client.h"
#include "tests/support/recording.h"
#include "tests/support/simulator_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"

namespace {

using qdax_test::PtyClient;
using qdax_test::ReadRecording;
using qdax_test::SimulatorProcess;
using qdax_test::TempDir;
using qdax_test::WaitUntil;

std::string ExpectedFlood(std::size_t lines, std::size_t length) {
    std::string text;
    for (std::size_t k = 1; k <= lines; ++k) {
        std::string line = std::to_string(k);
        text += line + std::string(length - line.size(), '.') + "\r\n";
    }
    return text;
}

// Far more than a pseudo-terminal buffers, so the simulator has to wait for room.
TEST(SimFloodTest, EveryLineArrivesInOrderForEachCommand) {
    constexpr std::size_t kLines = 30000;
    constexpr std::size_t kLength = 24;
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--flood", std::to_string(kLines), "--flood-length",
                                             std::to_string(kLength)});
    PtyClient device(sim.ptyPath());
    device.send("GO\rGO\r");
    std::string flood = ExpectedFlood(kLines, kLength);
    ASSERT_TRUE(device.receiveAtLeast(2 * flood.size()));
    ASSERT_EQ(device.received().size(), 2 * flood.size());
    EXPECT_TRUE(device.received() == flood + flood) << "lines lost, doubled or out of order";
}

TEST(SimFloodTest, DefaultLineLengthIs32) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--flood", "2"});
    PtyClient device(sim.ptyPath());
    device.send("GO\r");
    ASSERT_TRUE(device.receiveAtLeast(68));
    EXPECT_EQ(device.received(), ExpectedFlood(2, 32));
}

// Nobody reads the flood or the spew: the simulator waits for room without blocking, so it still
// hears the stop signal and cleans up.
class SimOutpouringTest : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(SimOutpouringTest, StopsWhileThePseudoTerminalIsFull) {
    TempDir dir;
    std::vector<std::string> options = GetParam();
    options.insert(options.end(), {"--record", dir.file("wire")});
    SimulatorProcess sim(dir.file("ports"), options);
    PtyClient device(sim.ptyPath());
    device.send("GO\r");
    ASSERT_TRUE(WaitUntil([&] { return ReadRecording(dir.file("wire")) == "GO\r"; }));
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sim.linkPath())));
}

INSTANTIATE_TEST_SUITE_P(Modes, SimOutpouringTest,
                         testing::Values(std::vector<std::string>{"--flood", "200000"},
                                         std::vector<std::string>{"--spew", "10000000"}));

}  // namespace
