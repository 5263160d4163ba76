// The simulator's link in the ports directory, from publishing to removal, and its ways out.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "tests/support/pty_client.h"
#include "tests/support/simulator_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"

namespace {

namespace fs = std::filesystem;
using qdax_test::PtyClient;
using qdax_test::SimulatorProcess;
using qdax_test::TempDir;
using qdax_test::WaitUntil;

bool EntryExists(const std::string& path) {
    return fs::exists(fs::symlink_status(path));
}

TEST(SimLifecycleTest, LinksItsPseudoTerminalAsTheNamedPort) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"));
    EXPECT_EQ(sim.comName(), "COM9");
    EXPECT_EQ(sim.linkPath(), dir.file("ports/COM9"));
    ASSERT_TRUE(fs::is_symlink(sim.linkPath()));
    EXPECT_EQ(fs::read_symlink(sim.linkPath()).string(), sim.ptyPath());
    EXPECT_EQ(sim.ptyPath().rfind("/dev/pts/", 0), 0u) << sim.ptyPath();
    EXPECT_TRUE(sim.isRunning());
}

TEST(SimLifecycleTest, TheLinkLeadsToTheDevice) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"));
    PtyClient device(sim.linkPath());
    device.send("VER\r");
    ASSERT_TRUE(device.receiveAtLeast(21));
    EXPECT_EQ(device.received(), "Q-Dax simulator 1.0\r\n");
}

TEST(SimLifecycleTest, CreatesMissingPortsDirectoriesPrivate) {
    TempDir dir;
    SimulatorProcess sim(dir.file("a/b/ports"));
    for (const char* created : {"a", "a/b", "a/b/ports"}) {
        struct stat info {};
        ASSERT_EQ(stat(dir.file(created).c_str(), &info), 0) << created;
        EXPECT_EQ(info.st_mode & 0777, 0700u) << created;
    }
    EXPECT_TRUE(fs::is_symlink(sim.linkPath()));
}

TEST(SimLifecycleTest, SecondSimulatorTakesTheNextNumber) {
    TempDir dir;
    SimulatorProcess first(dir.file("ports"));
    SimulatorProcess second(dir.file("ports"));
    EXPECT_EQ(first.comName(), "COM9");
    EXPECT_EQ(second.comName(), "COM10");
}

struct StopSignal {
    const char* name;
    int number;
};

void PrintTo(const StopSignal& c, std::ostream* out) {
    *out << c.name;
}

class SimStopSignalTest : public testing::TestWithParam<StopSignal> {};

TEST_P(SimStopSignalTest, RemovesTheLinkAndExitsZero) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"));
    ASSERT_TRUE(EntryExists(sim.linkPath()));
    EXPECT_EQ(sim.stop(GetParam().number), 0);
    EXPECT_FALSE(EntryExists(sim.linkPath()));
}

INSTANTIATE_TEST_SUITE_P(Signals, SimStopSignalTest,
                         testing::Values(StopSignal{"TERM", SIGTERM}, StopSignal{"INT", SIGINT},
                                         StopSignal{"HUP", SIGHUP}),
                         [](const testing::TestParamInfo<StopSignal>& info) {
                             return std::string(info.param.name);
                         });

TEST(SimLifecycleTest, StopSignalEndsADelayAtOnce) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--delay", "3600000"});
    PtyClient device(sim.ptyPath());
    device.send("A\r");
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(EntryExists(sim.linkPath()));
}

TEST(SimLifecycleTest, KilledSimulatorLeavesItsLinkBehind) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"));
    PtyClient device(sim.ptyPath());
    EXPECT_EQ(sim.kill(), 128 + SIGKILL);
    EXPECT_TRUE(fs::is_symlink(sim.linkPath()));
    EXPECT_TRUE(device.receiveUntilHangUp());
}

TEST(SimLifecycleTest, LeavesALinkAloneThatNoLongerPointsAtItsPty) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"));
    fs::remove(sim.linkPath());
    fs::create_symlink("/dev/null", sim.linkPath());
    EXPECT_EQ(sim.stop(), 0);
    ASSERT_TRUE(fs::is_symlink(sim.linkPath()));
    EXPECT_EQ(fs::read_symlink(sim.linkPath()), "/dev/null");
}

// The answer to the last command is still delivered; the link is gone by the time the far end
// sees the hang-up; commands after the last are not answered.
TEST(SimLifecycleTest, DisconnectsAfterTheLastCommand) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--disconnect-after", "2", "--echo"});
    PtyClient device(sim.ptyPath());
    device.send("A\r");
    ASSERT_TRUE(device.receiveAtLeast(7));
    EXPECT_EQ(device.received(), "A\r\nOK\r\n");
    EXPECT_TRUE(sim.isRunning());
    EXPECT_TRUE(EntryExists(sim.linkPath()));

    device.clearReceived();
    device.send("B\rC\r");
    ASSERT_TRUE(device.receiveUntilHangUp());
    EXPECT_EQ(device.received(), "B\r\nOK\r\n");
    EXPECT_FALSE(EntryExists(sim.linkPath()));
    EXPECT_EQ(sim.waitForExit(), 0);
}

// Closing the master throws away what the far end has not read, so the simulator waits for it.
TEST(SimLifecycleTest, DisconnectWaitsForTheAnswerToBeRead) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--disconnect-after", "1"});
    PtyClient device(sim.ptyPath());
    device.send("A\r");
    ASSERT_TRUE(WaitUntil([&] { return device.unreadCount() == 4; }));
    ASSERT_TRUE(device.receiveUntilHangUp());
    EXPECT_EQ(device.received(), "OK\r\n");
}

TEST(SimLifecycleTest, DisconnectsEvenWhenNobodyReadsTheAnswer) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--disconnect-after", "1"});
    PtyClient device(sim.ptyPath());
    device.send("A\r");
    EXPECT_EQ(sim.waitForExit(), 0);
    EXPECT_FALSE(EntryExists(sim.linkPath()));
}

}  // namespace
