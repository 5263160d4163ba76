// The help text and the refusal of command lines that make no sense.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/support/simulator_run.h"

namespace {

using qdax_test::RunSimulator;

TEST(SimHelpTest, HelpExitsZeroAndNamesEveryOption) {
    for (const char* help : {"--help", "-h"}) {
        auto run = RunSimulator({help});
        EXPECT_EQ(run.exitCode, 0) << help;
        EXPECT_EQ(run.standardError, "") << help;
        for (const char* option :
             {"--ports-dir", "--com", "--answer", "--echo", "--lines", "--line-end", "--delay",
              "--silent", "--partial", "--split", "--split-pause", "--flood", "--flood-length",
              "--disconnect-after", "--spew", "--record", "--print-path", "--help"}) {
            EXPECT_NE(run.standardOutput.find(std::string(option) + " "), std::string::npos)
                << help << " does not mention " << option;
        }
    }
}

struct BadCommandLine {
    const char* name;
    std::vector<std::string> arguments;
    const char* mentioned;  // what the error message must name
};

void PrintTo(const BadCommandLine& c, std::ostream* out) {
    *out << c.name;
}

const BadCommandLine kBadCommandLines[] = {
    {"UnknownOption", {"--bogus"}, "--bogus"},
    {"PositionalArgument", {"COM3"}, "COM3"},
    {"MissingValue", {"--delay"}, "--delay"},
    {"ValueForAFlag", {"--echo=yes"}, "--echo"},
    {"ComZero", {"--com", "0"}, "--com"},
    {"ComAbove255", {"--com", "256"}, "--com"},
    {"ComNotANumber", {"--com", "9x"}, "--com"},
    {"NegativeDelay", {"--delay", "-1"}, "--delay"},
    {"NoLines", {"--lines", "0"}, "--lines"},
    {"UnknownLineEnd", {"--line-end", "crcr"}, "--line-end"},
    {"EmptyPortsDir", {"--ports-dir", ""}, "--ports-dir"},
    {"EmptyRecordFile", {"--record="}, "--record"},
    {"SplitOfZero", {"--split", "0"}, "--split"},
    {"SplitPauseWithoutSplit", {"--split-pause", "10"}, "--split-pause"},
    {"FloodLengthWithoutFlood", {"--flood-length", "5"}, "--flood-length"},
    {"FloodLineTooShortForItsNumber", {"--flood", "100", "--flood-length", "2"}, "--flood-length"},
    {"SilentWithAnswer", {"--silent", "--answer", "X"}, "--silent"},
    {"SilentWithDelay", {"--delay", "5", "--silent"}, "--silent"},
    {"FloodWithLines", {"--flood", "3", "--lines", "2"}, "--flood"},
    {"SpewOfZero", {"--spew", "0"}, "--spew"},
    {"SpewWithEcho", {"--spew", "100", "--echo"}, "--spew"},
    {"SpewWithDisconnect", {"--disconnect-after", "1", "--spew", "100"}, "--spew"},
};

class SimBadCommandLineTest : public testing::TestWithParam<BadCommandLine> {};

TEST_P(SimBadCommandLineTest, ExitsTwoNamingTheProblem) {
    const BadCommandLine& c = GetParam();
    auto run = RunSimulator(c.arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.standardOutput, "");
    EXPECT_NE(run.standardError.find(c.mentioned), std::string::npos) << run.standardError;
}

INSTANTIATE_TEST_SUITE_P(CommandLines, SimBadCommandLineTest, testing::ValuesIn(kBadCommandLines),
                         [](const testing::TestParamInfo<BadCommandLine>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
