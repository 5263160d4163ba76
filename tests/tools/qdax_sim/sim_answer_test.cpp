// What the simulator sends back for the commands it receives, mode by mode.
#include <gtest/gtest.h>

#include <ostream>
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

struct AnswerCase {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> writes;  // each reaches the device before the next is sent
    std::string expected;             // everything the device sends back
};

void PrintTo(const AnswerCase& c, std::ostream* out) {
    *out << c.name;
}

const std::string kVersion = "Q-Dax simulator 1.0";

const AnswerCase kAnswerCases[] = {
    {"VersionAndOk", {}, {"VER\r", "hello\r"}, kVersion + "\r\nOK\r\n"},
    {"VersionInAnyCase", {}, {"ver\rVeR\r"}, kVersion + "\r\n" + kVersion + "\r\n"},
    {"VersionOnlyForTheWholeCommand", {}, {"VERSION\rXVER\r"}, "OK\r\nOK\r\n"},
    {"EmptyCommand", {}, {"\r"}, "OK\r\n"},
    {"CommandAcrossWrites", {}, {"V", "E", "R\r"}, kVersion + "\r\n"},
    {"FixedAnswer", {"--answer", "READY"}, {"VER\rX\r"}, "READY\r\nREADY\r\n"},
    {"FixedAnswerWithEquals", {"--answer=HI there"}, {"X\r"}, "HI there\r\n"},
    {"Echo", {"--echo"}, {"ABC\rVER\r"}, "ABC\r\nOK\r\nVER\r\n" + kVersion + "\r\n"},
    {"LineFeedsIgnored", {"--echo"}, {"A\r\n", "\nB\n\r"}, "A\r\nOK\r\nB\r\nOK\r\n"},
    {"CommandsOfOneWriteInOrder", {"--echo"}, {"A\rB\rC\r"}, "A\r\nOK\r\nB\r\nOK\r\nC\r\nOK\r\n"},
    {"SeveralLines", {"--lines", "3"}, {"A\rB\r"}, "OK\r\nOK\r\nOK\r\nOK\r\nOK\r\nOK\r\n"},
    {"LineEndCr", {"--line-end", "cr"}, {"A\rVER\r"}, "OK\r" + kVersion + "\r"},
    {"LineEndLf", {"--line-end", "lf"}, {"A\rVER\r"}, "OK\n" + kVersion + "\n"},
    {"LineEndCrLf", {"--line-end", "crlf"}, {"A\r"}, "OK\r\n"},
    {"EchoUsesTheLineEnd", {"--echo", "--line-end", "lf"}, {"A\r"}, "A\nOK\n"},
    {"Partial", {"--partial"}, {"A\rB\r"}, "OKOK"},
    {"PartialEndsOnlyTheLastLine", {"--partial", "--lines", "2"}, {"A\rB\r"}, "OK\r\nOKOK\r\nOK"},
    {"SilentStillEchoes", {"--silent", "--echo"}, {"A\rB\r"}, "A\r\nB\r\n"},
    {"SplitKeepsTheBytes",
     {"--split", "3", "--split-pause", "1", "--answer", "ABCDEFGH"},
     {"X\rY\r"},
     "ABCDEFGH\r\nABCDEFGH\r\n"},
    {"DelayKeepsTheOrder", {"--delay", "100", "--echo"}, {"A\rB\r"}, "A\r\nOK\r\nB\r\nOK\r\n"},
    {"Flood", {"--flood", "3", "--flood-length", "5"}, {"A\r"}, "1....\r\n2....\r\n3....\r\n"},
    {"FloodPartial",
     {"--flood", "2", "--flood-length", "3", "--partial", "--line-end", "lf"},
     {"A\rB\r"},
     "1..\n2..1..\n2.."},
    {"FloodEchoed",
     {"--flood", "10", "--flood-length", "2", "--echo"},
     {"GO\r"},
     "GO\r\n1.\r\n2.\r\n3.\r\n4.\r\n5.\r\n6.\r\n7.\r\n8.\r\n9.\r\n10\r\n"},
};

class SimAnswerTest : public testing::TestWithParam<AnswerCase> {};

TEST_P(SimAnswerTest, SendsBackWhatTheModeSays) {
    const AnswerCase& c = GetParam();
    TempDir dir;
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--record", dir.file("wire")});
    SimulatorProcess sim(dir.file("ports"), arguments);
    PtyClient device(sim.ptyPath());

    std::string sent;
    for (const std::string& write : c.writes) {
        device.send(write);
        sent += write;
        ASSERT_TRUE(WaitUntil([&] { return ReadRecording(dir.file("wire")) == sent; }));
    }
    ASSERT_TRUE(device.receiveAtLeast(c.expected.size())) << "got: " << device.received();
    EXPECT_EQ(device.received(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, SimAnswerTest, testing::ValuesIn(kAnswerCases),
                         [](const testing::TestParamInfo<AnswerCase>& info) {
                             return std::string(info.param.name);
                         });

// A silent device sends nothing at all: what arrives before its hang-up is everything.
TEST(SimSilentTest, SendsNothing) {
    TempDir dir;
    SimulatorProcess sim(dir.file("ports"), {"--silent", "--disconnect-after", "2"});
    PtyClient device(sim.ptyPath());
    device.send("A\rB\r");
    ASSERT_TRUE(device.receiveUntilHangUp());
    EXPECT_EQ(device.received(), "");
}

}  // namespace
