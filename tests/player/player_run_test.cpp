// qdax-play against simulated devices on pseudo-terminals: what reaches the wire and the log byte
// for byte, its output, and its exit status for each way a run can end.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/recording.h"
#include "tests/support/simulator_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"

namespace {

using qdax_test::ChildOutcome;
using qdax_test::ChildProcess;
using qdax_test::kGenerousTimeout;

const std::string kThreeLines = "L0\r\nL1\r\nL2\r\n";

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads the child's standard output until it holds `text`; what was read is kept in `seen`.
bool ReadOutputUntil(const ChildProcess& player, const std::string& text, std::string& seen) {
    return qdax_test::WaitUntil([&] {
        pollfd readable{player.stdoutFd, POLLIN, 0};
        char buffer[256];
        if (poll(&readable, 1, 0) > 0) {
            const ssize_t count = read(player.stdoutFd, buffer, sizeof buffer);
            if (count > 0) seen.append(buffer, static_cast<std::size_t>(count));
        }
        return seen.find(text) != std::string::npos;
    });
}

// Each test has a runtime directory of its own, whose ports directory the player lists and
// opens COM names from.
class PlayerRunTest : public testing::Test {
protected:
    PlayerRunTest() {
        setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
        std::filesystem::create_directories(PortsDir());
    }

    std::string PortsDir() const { return dir_.path() + "/qdax/ports"; }
    std::string LogPath() const { return dir_.file("run.log"); }

    // A device that records its wire; the first one started is the one Wire() reads.
    qdax_test::SimulatorProcess& StartDevice(std::vector<std::string> options = {}) {
        options.insert(options.end(),
                       {"--record", dir_.file("wire" + std::to_string(devices_.size()))});
        devices_.push_back(std::make_unique<qdax_test::SimulatorProcess>(PortsDir(), options));
        return *devices_.back();
    }

    std::string Wire() const { return qdax_test::ReadRecording(dir_.file("wire0")); }
    // Waits until the wire holds `expected` and stays so for a moment, then returns it.
    std::string WireOnceItHolds(const std::string& expected) const {
        qdax_test::WaitUntil([&] { return Wire() == expected; });
        return Wire();
    }

    std::string CommandFile(const std::string& bytes) const {
        const std::string path = dir_.file("commands.txt");
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    ChildProcess StartPlayer(const std::vector<std::string>& arguments,
                             const std::string& standardInput = "/dev/null") const {
        return qdax_test::StartChild(QDAX_PLAY_PATH, arguments, true, standardInput);
    }

    ChildOutcome Play(const std::vector<std::string>& arguments,
                      const std::string& standardInput = "/dev/null") const {
        return qdax_test::CollectChild(StartPlayer(arguments, standardInput), kGenerousTimeout);
    }

    qdax_test::TempDir dir_;
    std::vector<std::unique_ptr<qdax_test::SimulatorProcess>> devices_;
};

TEST_F(PlayerRunTest, aThreeLineFileAnsweredLineByLineGoesOutWholeAndIsLogged) {
    auto& device = StartDevice();
    const ChildOutcome run = Play(
        {"--port", device.comName(), "--delay", "0", "--log", LogPath(), CommandFile(kThreeLines)});
    EXPECT_EQ(run.exitCode, 0) << run.standardError;
    EXPECT_EQ(WireOnceItHolds("L0\rL1\rL2\r"), "L0\rL1\rL2\r");
    EXPECT_EQ(run.standardOutput, "--> L0\n<-- OK\n--> L1\n<-- OK\n--> L2\n<-- OK\n");
    EXPECT_EQ(ReadWhole(LogPath()), "--> L0\r\n<-- OK\r\n--> L1\r\n<-- OK\r\n--> L2\r\n<-- OK\r\n");
    EXPECT_EQ(run.standardError, "");
}

TEST_F(PlayerRunTest, aFileOnStandardInputPlaysAsAFileDoes) {
    auto& device = StartDevice({"--answer", "DONE"});
    const ChildOutcome run = Play({"--port", device.comName(), "--quiet", "--log", LogPath(), "-"},
                                  CommandFile("VER\nRUN"));
    EXPECT_EQ(run.exitCode, 0) << run.standardError;
    EXPECT_EQ(WireOnceItHolds("VER\rRUN\r"), "VER\rRUN\r");
    EXPECT_EQ(run.standardOutput, "") << "--quiet";
    EXPECT_EQ(ReadWhole(LogPath()), "--> VER\r\n<-- DONE\r\n--> RUN\r\n<-- DONE\r\n");
}

// The echo of a command already counts as its answer, so sending runs one line ahead and the echo
// of the second line ends the run, as in the window.
TEST_F(PlayerRunTest, anEchoingDeviceRunsAhead) {
    auto& device = StartDevice({"--echo"});
    const ChildOutcome run = Play(
        {"--port", device.comName(), "--delay", "0", "--log", LogPath(), CommandFile(kThreeLines)});
    EXPECT_EQ(run.exitCode, 0) << run.standardError;
    EXPECT_EQ(WireOnceItHolds("L0\rL1\rL2\r"), "L0\rL1\rL2\r");
    // Lines that came in the same read as the last answer are logged too, as the window logs
    // them; nothing more is sent.
    const std::string log = ReadWhole(LogPath());
    const std::string played = "--> L0\r\n<-- L0\r\n--> L1\r\n<-- OK\r\n--> L2\r\n<-- L1\r\n";
    EXPECT_EQ(log.substr(0, played.size()), played);
    EXPECT_EQ(log.find("-->", played.size()), std::string::npos) << log;
}

TEST_F(PlayerRunTest, aDeviceThatNeverAnswersEndsTheRunAfterTheTimeoutWithTheLogWritten) {
    auto& device = StartDevice({"--silent"});
    const ChildOutcome run = Play({"--port", device.comName(), "--answer-timeout", "1", "--log",
                                   LogPath(), CommandFile(kThreeLines)});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.standardError, "qdax-play: no answer to line 1 within 1 s\n");
    EXPECT_EQ(Wire(), "L0\r");
    EXPECT_EQ(ReadWhole(LogPath()), "--> L0\r\n");
}

TEST_F(PlayerRunTest, aDeviceVanishingMidRunEndsItWithTheSystemsText) {
    auto& device = StartDevice({"--disconnect-after", "1"});
    const ChildOutcome run = Play(
        {"--port", device.comName(), "--delay", "0", "--log", LogPath(), CommandFile(kThreeLines)});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_EQ(run.standardError, "qdax-play: the device vanished: The device is not connected.\n");
    EXPECT_EQ(ReadWhole(LogPath()),
              "--> L0\r\n<-- OK\r\n--> L1\r\n<-- The device is not connected.\r\n");
}

class InterruptedRunTest : public PlayerRunTest, public testing::WithParamInterface<int> {};

TEST_P(InterruptedRunTest, whileAwaitingAnAnswerClosesThePortAndWritesTheLog) {
    auto& device = StartDevice({"--silent"});
    const ChildProcess player = StartPlayer({"--port", device.comName(), "--answer-timeout", "0",
                                             "--log", LogPath(), CommandFile(kThreeLines)});
    ASSERT_TRUE(qdax_test::WaitUntil([&] { return Wire() == "L0\r"; }));
    ASSERT_EQ(kill(player.pid, GetParam()), 0);
    const ChildOutcome run = qdax_test::CollectChild(player, kGenerousTimeout);
    EXPECT_EQ(run.exitCode, 130);
    EXPECT_EQ(run.standardError, "qdax-play: interrupted\n");
    EXPECT_EQ(ReadWhole(LogPath()), "--> L0\r\n");
    EXPECT_TRUE(device.isRunning()) << "the port was closed, the device untouched";
}

// Once the answer is echoed the player sits in the five-second delay; the interrupt cuts it short
// and the next line never goes out.
TEST_P(InterruptedRunTest, inTheCommandDelaySendsNothingMore) {
    auto& device = StartDevice();
    const ChildProcess player = StartPlayer({"--port", device.comName(), "--delay", "5000", "--log",
                                             LogPath(), CommandFile(kThreeLines)});
    std::string seen;
    ASSERT_TRUE(ReadOutputUntil(player, "<-- OK\n", seen));
    ASSERT_EQ(kill(player.pid, GetParam()), 0);
    const ChildOutcome run = qdax_test::CollectChild(player, kGenerousTimeout);
    EXPECT_EQ(run.exitCode, 130);
    EXPECT_EQ(seen + run.standardOutput, "--> L0\n<-- OK\n");
    EXPECT_EQ(ReadWhole(LogPath()), "--> L0\r\n<-- OK\r\n");
    EXPECT_EQ(Wire(), "L0\r");
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedRunTest, testing::Values(SIGTERM, SIGINT),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == SIGINT ? "SIGINT" : "SIGTERM";
                         });

TEST_F(PlayerRunTest, listShowsTheVirtualPorts) {
    auto& first = StartDevice();
    auto& second = StartDevice();
    const ChildOutcome run = Play({"--list"});
    EXPECT_EQ(run.exitCode, 0) << run.standardError;
    for (const auto* device : {&first, &second}) {
        const std::string line = device->comName() + "\tVirtual Port " + device->comName() + " (" +
                                 device->ptyPath() + ")\tROOT\n";
        EXPECT_NE(run.standardOutput.find(line), std::string::npos) << line << " in:\n"
                                                                    << run.standardOutput;
    }
}

TEST_F(PlayerRunTest, aPortThatCannotBeOpenedGivesTheSystemsReason) {
    const ChildOutcome run = Play({"--port", "COM200", "--log", LogPath(), CommandFile("L0\n")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.standardError,
              "qdax-play: cannot open COM200: The system cannot find the file specified.\n");
    EXPECT_FALSE(std::filesystem::exists(LogPath())) << "the run never began";
}

TEST_F(PlayerRunTest, aCommandFileThatCannotBeReadIsStatusFour) {
    const std::string missing = dir_.file("missing.txt");
    const ChildOutcome run = Play({"--port", "COM200", missing});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.standardError, "qdax-play: Cannot open file " + missing + "\n");
}

// What each bad value says is the options' own test; here the program's answer to them.
struct CommandLineCase {
    const char* name;
    std::vector<std::string> arguments;
    int exitCode;
    std::string firstLine;  // of standard error for a bad command line, else of standard output
};

class CommandLineTest : public PlayerRunTest,
                        public testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLineTest, endsWithItsStatusAndOneClearLine) {
    const ChildOutcome run = Play(GetParam().arguments);
    EXPECT_EQ(run.exitCode, GetParam().exitCode);
    const std::string& said = run.exitCode == 1 ? run.standardError : run.standardOutput;
    EXPECT_EQ(said.substr(0, said.find('\n')), GetParam().firstLine);
    if (run.exitCode == 1) {
        EXPECT_NE(said.find("\nUsage: qdax-play [OPTION]... --port NAME FILE\n"), std::string::npos)
            << said;
        EXPECT_EQ(run.standardOutput, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTest,
    testing::Values(
        CommandLineCase{
            "noArguments", {}, 1, "qdax-play: no command file given (\"-\" reads standard input)"},
        CommandLineCase{"unknownOption", {"--fast"}, 1, "qdax-play: unknown option --fast"},
        CommandLineCase{"badValue",
                        {"--delay", "x", "--port", "COM9", "f"},
                        1,
                        "qdax-play: --delay: \"x\" is not milliseconds from 0 to 5000"},
        CommandLineCase{"valueMissing", {"--log"}, 1, "qdax-play: --log needs a value"},
        CommandLineCase{"help", {"--help"}, 0, "Usage: qdax-play [OPTION]... --port NAME FILE"},
        CommandLineCase{"version", {"--version"}, 0, "qdax-play 1.0"}),
    [](const testing::TestParamInfo<CommandLineCase>& info) { return info.param.name; });

}  // namespace
