// What the reader makes of the device's answers: lines across reads, every byte value, a
// failing line callback, and a device that vanishes.
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "serial/read_serial_thread.h"
#include "tests/serial/port_behaviour/port_fixture.h"

namespace port_behaviour {
namespace {

using namespace std::chrono_literals;

// Twice as long as the failed read's first five retries take.
constexpr std::chrono::milliseconds kFirstRetriesWatch = 3100ms;

// One answer of the device and the lines delivered once the port has read it.
struct Answer {
    std::string bytes;
    std::vector<std::string> linesSoFar;
};

struct SplitCase {
    const char* name;
    std::vector<Answer> answers;  // each sent only after the previous one was handed over
};

class SplitAnswers : public PortBehaviour, public testing::WithParamInterface<SplitCase> {};

TEST_P(SplitAnswers, LinesAreAssembledAcrossReads) {
    auto port = Open(DevicePort());
    ASSERT_TRUE(port->IsOpen());
    for (const Answer& answer : GetParam().answers) {
        const std::size_t served = window.served;
        device.Send(answer.bytes);
        ASSERT_TRUE(HandOverAfter(served)) << "nothing read of " << answer.bytes.size() << " bytes";
        ASSERT_TRUE(LinesBecome(answer.linesSoFar)) << "after " << answer.bytes.size() << " bytes";
    }
}

const std::string kLongLine(300, 'L');  // longer than one read

INSTANTIATE_TEST_SUITE_P(
    Answers, SplitAnswers,
    testing::Values(SplitCase{"LineInTwoReads", {{"AB", {}}, {"C\r", {"ABC"}}}},
                    SplitCase{"ByteByByte", {{"O", {}}, {"K", {}}, {"\r", {"OK"}}}},
                    SplitCase{"CrLfThenTheRestWaits",
                              {{"PQ\r\nRS", {"PQ", ""}}, {"T\n", {"PQ", "", "RST"}}}},
                    SplitCase{"CrAndLfInSeparateReads", {{"A\r", {"A"}}, {"\n", {"A", ""}}}},
                    SplitCase{"LongerThanOneRead", {{kLongLine, {}}, {"\r", {kLongLine}}}},
                    SplitCase{"NulDropsTheRestOfItsRead",
                              {{"AB", {}}, {std::string("\0CD", 3), {}}, {"E\r", {"ABE"}}}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST_F(PortBehaviour, EveryByteButTheLineEndsAndNulArrivesInTheLine) {
    auto port = Open(DevicePort());
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
    }
    device.Send(bytes + "\r");
    EXPECT_TRUE(LinesBecome({bytes}));
}

TEST_F(PortBehaviour, AFailingCallbackIsShownOnTheWindowThreadAndReadingGoesOn) {
    auto port =
        std::make_unique<SerialPortInfo>(DevicePort(), 19200, ParityNone, StopBitsOne, 50,
                                         WriteModeOverlapped, [this](const char* line) {
                                             lines.emplace_back(line);
                                             if (lines.back() == "BAD")
                                                 throw std::runtime_error("cannot take BAD");
                                         });
    device.Send("BAD\r");
    ASSERT_TRUE(LinesBecome({"BAD"}));
    device.Send("GOOD\r");
    EXPECT_TRUE(LinesBecome({"BAD", "GOOD"}));
    EXPECT_EQ(window.errors, std::vector<std::string>{"cannot take BAD"});
}

TEST_F(PortBehaviour, AVanishedDeviceIsReportedOnceUntilTheNextOpen) {
    auto port = Open(DevicePort());
    device.Unplug();
    ASSERT_TRUE(window.ServeUntil([&] { return lines.size() >= 2; }));
    const std::vector<std::string> report(lines.begin(), lines.begin() + 2);
    EXPECT_NE(report[0], "") << "the system's text for the failed read";
    EXPECT_EQ(report[1], "") << "the text ends with a line end";
    // The reader retries after 50, 150, 350, 750 and 1550 ms: a report repeated by any of them
    // ends this watch, which leaves a slow machine twice that time.
    window.ServeUntil([&] { return lines.size() > report.size(); }, kFirstRetriesWatch);
    EXPECT_EQ(lines, report) << "a lasting error is reported once";

    device.Plug();
    Reopen(*port, DevicePort());
    ASSERT_TRUE(port->IsOpen());
    device.Send("BACK\r");
    EXPECT_TRUE(LinesBecome({report[0], report[1], "BACK"}));
    device.Unplug();
    EXPECT_TRUE(LinesBecome({report[0], report[1], "BACK", report[0], report[1]}))
        << "the next open reports the same error again";
}

}  // namespace
}  // namespace port_behaviour
