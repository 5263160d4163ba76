// The shared playback rules against a host that records what they do: which lines go out, what
// is logged, which delays are waited, and when manual entry is allowed.
#include "playback/playback.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace {

class RecordingHost : public PlaybackHost {
public:
    explicit RecordingHost(std::vector<std::string> lines) : lines(std::move(lines)) {}

    std::int32_t LineCount() override { return static_cast<std::int32_t>(lines.size()); }
    std::string LineAt(std::int32_t index) override { return lines.at(index); }
    void SendCommand(const std::string& text) override { sent.push_back(text); }
    void LogReceived(std::string_view line) override { logged.emplace_back(line); }
    // Each reading takes the next of `delays`; the last one stays.
    std::int32_t CommandDelay() override {
        const std::int32_t delay = delays.front();
        if (delays.size() > 1) delays.pop_front();
        return delay;
    }
    void WaitCommandDelay(std::int32_t milliseconds) override { waits.push_back(milliseconds); }
    void AllowManualEntry(bool allowed) override { manualEntry = allowed; }

    std::vector<std::string> lines;
    std::deque<std::int32_t> delays{0};
    std::vector<std::string> sent;
    std::vector<std::string> logged;
    std::vector<std::int32_t> waits;
    std::optional<bool> manualEntry;
};

using Lines = std::vector<std::string>;

TEST(PlaybackTest, eachAnswerSendsTheNextLineAndTheAnswerAfterTheLastStopsAndRewinds) {
    RecordingHost host({"L0", "L1", "L2"});
    Playback playback(host);

    playback.Play();
    EXPECT_EQ(host.sent, Lines({"L0"}));
    EXPECT_EQ(host.manualEntry, false);
    playback.LineReceived("A0");
    playback.LineReceived("A1");
    EXPECT_EQ(host.sent, Lines({"L0", "L1", "L2"}));
    EXPECT_TRUE(playback.Playing);
    EXPECT_EQ(playback.NextLine, 3);

    playback.LineReceived("A2");
    EXPECT_FALSE(playback.Playing);
    EXPECT_EQ(playback.NextLine, 0);
    EXPECT_EQ(host.manualEntry, true);
    EXPECT_EQ(host.sent.size(), 3u);
    EXPECT_EQ(host.logged, Lines({"A0", "A1", "A2"}));
}

TEST(PlaybackTest, anEmptyLineIsNeitherLoggedNorAnAnswer) {
    RecordingHost host({"L0", "L1"});
    Playback playback(host);
    playback.Play();
    playback.LineReceived("");
    EXPECT_EQ(host.sent, Lines({"L0"}));
    EXPECT_TRUE(host.logged.empty());
}

TEST(PlaybackTest, aLineWhileNotPlayingIsLoggedAndSendsNothing) {
    RecordingHost host({"L0", "L1"});
    Playback playback(host);
    playback.LineReceived("hello");
    EXPECT_EQ(host.logged, Lines({"hello"}));
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(playback.NextLine, 0);
}

TEST(PlaybackTest, playOnNoLinesStopsAtOnce) {
    RecordingHost host({});
    Playback playback(host);
    playback.NextLine = 0;
    playback.Play();
    EXPECT_TRUE(host.sent.empty());
    EXPECT_FALSE(playback.Playing);
    EXPECT_EQ(host.manualEntry, true);
}

TEST(PlaybackTest, stepSendsOneLineEachAndTheStepAfterTheLastRewinds) {
    RecordingHost host({"L0", "L1", "L2"});
    Playback playback(host);
    for (std::int32_t press = 1; press <= 3; ++press) {
        playback.Step();
        EXPECT_EQ(playback.NextLine, press);
        EXPECT_FALSE(playback.Playing);
    }
    EXPECT_FALSE(host.manualEntry.has_value());  // Step leaves manual entry alone
    playback.Step();
    EXPECT_EQ(host.sent, Lines({"L0", "L1", "L2"}));
    EXPECT_EQ(playback.NextLine, 0);
    EXPECT_EQ(host.manualEntry, true);
}

TEST(PlaybackTest, stepWhilePlayingSendsNothing) {
    RecordingHost host({"L0", "L1"});
    Playback playback(host);
    playback.Play();
    playback.Step();
    EXPECT_EQ(host.sent, Lines({"L0"}));
    EXPECT_EQ(playback.NextLine, 1);
}

TEST(PlaybackTest, pauseStepStepPauseResumesWithTheNextLineAtOnce) {
    RecordingHost host({"L0", "L1", "L2", "L3", "L4"});
    Playback playback(host);
    playback.Play();
    playback.Pause();
    EXPECT_FALSE(playback.Playing);
    EXPECT_EQ(host.manualEntry, true);
    playback.LineReceived("late answer");  // paused: no line follows
    playback.Step();
    playback.Step();
    playback.Pause();
    EXPECT_TRUE(playback.Playing);
    EXPECT_EQ(host.manualEntry, false);
    EXPECT_EQ(host.sent, Lines({"L0", "L1", "L2", "L3"}));
}

TEST(PlaybackTest, playTwiceSendsTwoLinesWithoutAnAnswer) {
    RecordingHost host({"L0", "L1", "L2"});
    Playback playback(host);
    playback.Play();
    playback.Play();
    EXPECT_EQ(host.sent, Lines({"L0", "L1"}));
}

TEST(PlaybackTest, stopRewindsAndThePlayAfterStartsAtTheFirstLine) {
    RecordingHost host({"L0", "L1"});
    Playback playback(host);
    playback.Play();
    playback.Stop();
    EXPECT_FALSE(playback.Playing);
    EXPECT_EQ(playback.NextLine, 0);
    playback.Play();
    EXPECT_EQ(host.sent, Lines({"L0", "L0"}));
}

TEST(PlaybackTest, anEchoingDeviceRunsAhead) {
    RecordingHost host({"L0", "L1", "L2", "L3"});
    Playback playback(host);
    playback.Play();
    playback.LineReceived("L0");  // the echo
    playback.LineReceived("OK");
    EXPECT_EQ(host.sent, Lines({"L0", "L1", "L2"}));
}

TEST(PlaybackTest, aLongLineIsCutTo4096Characters) {
    const std::string longLine = std::string(4096, 'a') + "bc";
    RecordingHost host({longLine});
    Playback playback(host);
    playback.Step();
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0], longLine.substr(0, 4096));
}

struct DelayCase {
    const char* name;
    std::deque<std::int32_t> readings;
    std::vector<std::int32_t> waits;
};

class DelayTest : public testing::TestWithParam<DelayCase> {};

TEST_P(DelayTest, theDelayIsWaitedOnlyWhenItReadsPositiveAndAsItReadsTheSecondTime) {
    RecordingHost host({"L0", "L1"});
    host.delays = GetParam().readings;
    Playback playback(host);
    playback.Play();
    EXPECT_TRUE(host.waits.empty());  // the first line goes out at once
    playback.LineReceived("A0");
    EXPECT_EQ(host.waits, GetParam().waits);
    EXPECT_EQ(host.sent, Lines({"L0", "L1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Readings, DelayTest,
    testing::Values(DelayCase{"zero", {0}, {}}, DelayCase{"negative", {-5}, {}},
                    DelayCase{"fifty", {50}, {50}}, DelayCase{"beyondTheField", {9000}, {9000}},
                    DelayCase{"changedBetweenReadings", {10, 20}, {20}},
                    DelayCase{"droppedToZeroBetweenReadings", {10, 0}, {0}}),
    [](const testing::TestParamInfo<DelayCase>& info) { return info.param.name; });

}  // namespace
