// The record file holds every byte the device received, exactly and in order.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/pty_client.h"
#include "tests/support/recording.h"
#include "tests/support/simulator_process.h"
#include "tests/support/simulator_run.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"

namespace {

using qdax_test::PtyClient;
using qdax_test::ReadRecording;
using qdax_test::RunSimulator;
using qdax_test::SimulatorProcess;
using qdax_test::TempDir;
using qdax_test::WaitUntil;

std::string AllByteValues() {
    std::string bytes;
    for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
    return bytes;
}

class SimRecordTest : public testing::TestWithParam<std::size_t> {};

// Every byte value, several times over, sent in writes of the given size.
TEST_P(SimRecordTest, RecordsEveryByteValueExactly) {
    const std::size_t writeSize = GetParam();
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--record", dir.file("wire"), "--silent"});
    PtyClient device(sim.ptyPath());
    std::string wire;
    for (int round = 0; round < 4; ++round) wire += AllByteValues();
    for (std::size_t at = 0; at < wire.size(); at += writeSize) {
        device.send(std::string_view(wire).substr(at, writeSize));
    }
    EXPECT_TRUE(WaitUntil([&] { return ReadRecording(dir.file("wire")).size() >= wire.size(); }));
    EXPECT_TRUE(ReadRecording(dir.file("wire")) == wire) << "recording differs from the wire";
}

INSTANTIATE_TEST_SUITE_P(WriteSizes, SimRecordTest, testing::Values(1u, 7u, 256u, 1024u));

TEST(SimRecordFileTest, AppendsToAnExistingFile) {
    TempDir dir;
    std::ofstream(dir.file("wire"), std::ios::binary) << "before\n";
    SimulatorProcess sim(dir.file("ports"), {"--record", dir.file("wire")});
    PtyClient device(sim.ptyPath());
    device.send("VER\r\n");
    ASSERT_TRUE(device.receiveAtLeast(21));
    EXPECT_TRUE(WaitUntil([&] { return ReadRecording(dir.file("wire")) == "before\nVER\r\n"; }))
        << ReadRecording(dir.file("wire"));
}

TEST(SimRecordFileTest, UnwritableRecordFileIsAnError) {
    TempDir dir;
    auto run =
        RunSimulator({"--ports-dir", dir.file("ports"), "--record", dir.file("missing/dir/wire")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardOutput, "");
    EXPECT_NE(run.standardError.find("missing/dir/wire"), std::string::npos) << run.standardError;
}

}  // namespace
