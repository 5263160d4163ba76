// Spewing: from the first command on, endless binary bytes with NULs and no line end, paced to
// the rate asked for, while commands are still recorded and the device can still be stopped.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>

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
using std::chrono::milliseconds;

bool HasLineEnd(const std::string& bytes) {
    return bytes.find_first_of("\r\n") != std::string::npos;
}

TEST(SimSpewTest, SpewsEveryByteButLineEndsFromTheFirstCommandOnAtMostAtItsRate) {
    constexpr std::size_t kRate = 20'000;  // bytes per second: 200 every 10 ms
    constexpr std::size_t kSample = 8'000;
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"),
                         {"--spew", std::to_string(kRate), "--record", dir.file("wire")});
    PtyClient device(sim.ptyPath());
    EXPECT_FALSE(device.receiveAtLeast(1, milliseconds(200))) << "spewed before any command";

    const auto start = std::chrono::steady_clock::now();
    device.send("GO\r");
    ASSERT_TRUE(device.receiveAtLeast(kSample));
    const auto took = std::chrono::steady_clock::now() - start;
    // 40 pieces of 200 bytes, 10 ms apart at the least; a slow machine only takes longer.
    EXPECT_GE(took, milliseconds(390));

    const std::string& bytes = device.received();
    EXPECT_FALSE(HasLineEnd(bytes));
    const std::set<unsigned char> values(bytes.begin(), bytes.end());
    EXPECT_EQ(values.size(), 254u) << "not every byte value but CR and LF came";
    EXPECT_TRUE(values.count(0)) << "no NUL";

    device.send("MORE\r");
    EXPECT_TRUE(WaitUntil([&] { return ReadRecording(dir.file("wire")) == "GO\rMORE\r"; }));
    ASSERT_TRUE(device.receiveAtLeast(bytes.size() + 2'000)) << "the spew stopped";
    EXPECT_FALSE(HasLineEnd(device.received())) << "a command was answered";
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace
