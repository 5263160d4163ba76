// Delays and split answers: only lower bounds on time are asserted, since a slow machine can
// make things later but never earlier.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/pty_client.h"
#include "tests/support/simulator_process.h"
#include "tests/support/temp_dir.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
using qdax_test::PtyClient;
using qdax_test::SimulatorProcess;
using qdax_test::TempDir;

TEST(SimTimingTest, DelayComesAfterTheEchoAndBeforeTheAnswer) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--echo", "--delay", "300"});
    PtyClient device(sim.ptyPath());
    auto sent = Clock::now();
    device.send("A\r");
    ASSERT_TRUE(device.receiveAtLeast(3));
    EXPECT_EQ(device.received().substr(0, 3), "A\r\n");
    ASSERT_TRUE(device.receiveAtLeast(7));
    EXPECT_GE(Clock::now() - sent, milliseconds(300));
    EXPECT_EQ(device.received(), "A\r\nOK\r\n");
}

TEST(SimTimingTest, EveryCommandWaitsItsOwnDelay) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--delay", "200"});
    PtyClient device(sim.ptyPath());
    auto sent = Clock::now();
    device.send("A\rB\rC\r");
    ASSERT_TRUE(device.receiveAtLeast(12));
    EXPECT_GE(Clock::now() - sent, milliseconds(600));
    EXPECT_EQ(device.received(), "OK\r\nOK\r\nOK\r\n");
}

// "ABCDEFGH" CR LF in pieces of 4 bytes: three writes with two pauses between them.
TEST(SimTimingTest, SplitAnswerArrivesInPausedPieces) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"),
                         {"--answer", "ABCDEFGH", "--split", "4", "--split-pause", "300"});
    PtyClient device(sim.ptyPath());
    auto sent = Clock::now();
    device.send("X\r");
    ASSERT_TRUE(device.receiveAtLeast(1));
    EXPECT_LT(device.received().size(), 10u) << "the whole answer came at once";
    ASSERT_TRUE(device.receiveAtLeast(10));
    EXPECT_GE(Clock::now() - sent, milliseconds(600));
    EXPECT_EQ(device.received(), "ABCDEFGH\r\n");
}

}  // namespace
