// The command line of qdax-play: what good command lines set, and the one line that says what is
// wrong with a bad one.
#include "player/player_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

struct GoodCase {
    const char* name;
    Arguments arguments;
    PlayerOptions expected;
};

PlayerOptions Playing(const std::string& file, const std::string& port) {
    PlayerOptions options;
    options.file = file;
    options.port = port;
    return options;
}

template <typename Change>
PlayerOptions With(PlayerOptions options, Change change) {
    change(options);
    return options;
}

PlayerOptions Doing(PlayerOptions::Action action) {
    PlayerOptions options;
    options.action = action;
    return options;
}

class GoodCommandLine : public testing::TestWithParam<GoodCase> {};

TEST_P(GoodCommandLine, setsTheOptions) {
    const ParsedCommandLine parsed = ParsePlayerOptions(GetParam().arguments);
    ASSERT_EQ(parsed.error, "");
    const PlayerOptions& got = parsed.options;
    const PlayerOptions& expected = GetParam().expected;
    EXPECT_EQ(got.action, expected.action);
    EXPECT_EQ(got.file, expected.file);
    EXPECT_EQ(got.port, expected.port);
    EXPECT_EQ(got.baud, expected.baud);
    EXPECT_EQ(got.delayMs, expected.delayMs);
    EXPECT_EQ(got.answerTimeoutSeconds, expected.answerTimeoutSeconds);
    EXPECT_EQ(got.logPath, expected.logPath);
    EXPECT_EQ(got.quiet, expected.quiet);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GoodCommandLine,
    testing::Values(
        GoodCase{"defaults", {"--port", "COM9", "cmds.txt"}, Playing("cmds.txt", "COM9")},
        GoodCase{"fileFirst", {"cmds.txt", "--port=COM9"}, Playing("cmds.txt", "COM9")},
        GoodCase{"standardInput", {"--port", "/dev/ttyUSB0", "-"}, Playing("-", "/dev/ttyUSB0")},
        GoodCase{"afterDoubleDash",
                 {"--port", "COM9", "--", "--odd name"},
                 Playing("--odd name", "COM9")},
        GoodCase{"baudAsNumber",
                 {"--baud", "115200", "--port", "COM9", "f"},
                 With(Playing("f", "COM9"), [](PlayerOptions& o) { o.baud = 115200; })},
        GoodCase{"baudAsLabel",
                 {"--baud=921.6k", "--port", "COM9", "f"},
                 With(Playing("f", "COM9"), [](PlayerOptions& o) { o.baud = 921600; })},
        GoodCase{"lowestBaud",
                 {"--baud", "9600", "--port", "COM9", "f"},
                 With(Playing("f", "COM9"), [](PlayerOptions& o) { o.baud = 9600; })},
        GoodCase{"delayLimits",
                 {"--delay", "0", "--delay", "5000", "--port", "COM9", "f"},
                 With(Playing("f", "COM9"), [](PlayerOptions& o) { o.delayMs = 5000; })},
        GoodCase{"noTimeout",
                 {"--answer-timeout", "0", "--port", "COM9", "f"},
                 With(Playing("f", "COM9"), [](PlayerOptions& o) { o.answerTimeoutSeconds = 0; })},
        GoodCase{"logAndQuiet",
                 {"--log", "run.log", "--quiet", "--port", "COM9", "f"},
                 With(Playing("f", "COM9"),
                      [](PlayerOptions& o) {
                          o.logPath = "run.log";
                          o.quiet = true;
                      })},
        GoodCase{"list", {"--list"}, Doing(PlayerOptions::Action::List)},
        GoodCase{
            "helpWinsOverWhatFollows", {"-h", "--baud", "1"}, Doing(PlayerOptions::Action::Help)},
        GoodCase{"version", {"--version"}, Doing(PlayerOptions::Action::Version)}),
    [](const testing::TestParamInfo<GoodCase>& info) { return info.param.name; });

struct BadCase {
    const char* name;
    Arguments arguments;
    std::string error;
};

class BadCommandLine : public testing::TestWithParam<BadCase> {};

TEST_P(BadCommandLine, saysWhatIsWrong) {
    EXPECT_EQ(ParsePlayerOptions(GetParam().arguments).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadCommandLine,
    testing::Values(
        BadCase{"nothing", {}, "no command file given (\"-\" reads standard input)"},
        BadCase{"noPort", {"f"}, "no port given (--port NAME; --list shows the ports)"},
        BadCase{"twoFiles", {"--port", "COM9", "f", "g"}, "more than one command file given"},
        BadCase{"unknownOption", {"--speed", "9600"}, "unknown option --speed"},
        BadCase{"missingValue", {"f", "--port"}, "--port needs a value"},
        BadCase{"emptyPort", {"--port=", "f"}, "--port: \"\" is not a name"},
        BadCase{"baudNotInTheTable",
                {"--baud", "14400", "--port", "COM9", "f"},
                "--baud: \"14400\" is not one of 9600, 19200, 38400, 57600, 115200, 230400, "
                "460800, 921600"},
        BadCase{"delayTooLong",
                {"--delay", "5001", "--port", "COM9", "f"},
                "--delay: \"5001\" is not milliseconds from 0 to 5000"},
        BadCase{"delayNegative",
                {"--delay=-1", "--port", "COM9", "f"},
                "--delay: \"-1\" is not milliseconds from 0 to 5000"},
        BadCase{"delayNotANumber",
                {"--delay", "50ms", "--port", "COM9", "f"},
                "--delay: \"50ms\" is not milliseconds from 0 to 5000"},
        BadCase{"timeoutFraction",
                {"--answer-timeout", "1.5", "--port", "COM9", "f"},
                "--answer-timeout: \"1.5\" is not whole seconds from 0 to 86400"},
        BadCase{"flagWithValue", {"--quiet=yes", "f"}, "--quiet takes no value"},
        BadCase{"listWithFile", {"--list", "f"}, "--list takes no command file"}),
    [](const testing::TestParamInfo<BadCase>& info) { return info.param.name; });

}  // namespace
