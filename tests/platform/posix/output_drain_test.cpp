// The drain before a close, on a stand-in line whose count of unsent bytes follows a script in
// the stand-in's own time: what is sent in time is never discarded, and what is stuck is
// discarded once its bound has passed, without waiting for the driver's closing_wait.
#include "platform/posix/posix_output_drain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>

#include "platform/drain_time.h"

namespace {

using namespace std::chrono_literals;
using platform::DrainTime;
using platform::posix::DrainQueuedOutput;
using platform::posix::QueuedOutput;

// The count of unsent bytes at a time since the drain began.
using Script = std::function<int(std::chrono::milliseconds elapsed)>;

class StandInLine final : public QueuedOutput {
public:
    explicit StandInLine(Script script) : script_(std::move(script)) {}

    int Queued() override {
        if (discardedAt_) return 0;
        return script_(Elapsed());
    }
    void Discard() override { discardedAt_ = Elapsed(); }
    Clock::time_point Now() override { return now_; }
    void Pause(std::chrono::milliseconds duration) override { now_ += duration; }

    std::chrono::milliseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(now_ - Clock::time_point{});
    }
    std::optional<std::chrono::milliseconds> discardedAt() const { return discardedAt_; }

private:
    Script script_;
    Clock::time_point now_{};
    std::optional<std::chrono::milliseconds> discardedAt_;
};

// A line that sends `bytes` at `bytesPerSecond`, `step` bytes at a time, until `stopsAt` bytes
// are left (an XOFF, CTS falling, a device that stopped reading).
Script Sending(int bytes, int bytesPerSecond, int step = 1, int stopsAt = 0) {
    return [=](std::chrono::milliseconds elapsed) {
        const int sent = static_cast<int>(elapsed.count() * bytesPerSecond / 1000) / step * step;
        return std::max(bytes - sent, stopsAt);
    };
}

struct DrainCase {
    const char* name;
    DWORD baudRate;
    Script script;
    bool discarded;
    int bytesDiscarded;
    std::chrono::milliseconds atLeast;  // how long the drain waited, in the stand-in's time
    std::chrono::milliseconds atMost;
};

class Drain : public testing::TestWithParam<DrainCase> {};

TEST_P(Drain, WaitsForWhatMovesAndDiscardsOnlyWhatIsStuck) {
    const DrainCase& c = GetParam();
    StandInLine line(c.script);
    const platform::posix::DrainOutcome outcome = DrainQueuedOutput(line, c.baudRate);
    EXPECT_EQ(outcome.discarded, c.discarded);
    EXPECT_EQ(outcome.bytesDiscarded, c.bytesDiscarded);
    EXPECT_EQ(line.discardedAt().has_value(), c.discarded);
    EXPECT_GE(line.Elapsed(), c.atLeast);
    EXPECT_LE(line.Elapsed(), c.atMost);
}

// The poll's own step, by which a drain may overrun its bound.
constexpr std::chrono::milliseconds kStep = 10ms;
// A real UART's close would wait this long for a stopped line.
constexpr std::chrono::milliseconds kClosingWait = 30s;

INSTANTIATE_TEST_SUITE_P(
    Lines, Drain,
    testing::Values(
        DrainCase{"NothingQueued", 9600, Sending(0, 960), false, 0, 0ms, 0ms},
        DrainCase{"CountUnknown", 9600, [](auto) { return -1; }, true, -1, 0ms, 0ms},
        // "VER\r" at 9600 baud: about 4 ms on the wire.
        DrainCase{"ShortCommandSent", 9600, Sending(4, 960), false, 0, 4ms, 4ms + kStep},
        DrainCase{"ShortCommandHeldByCts", 9600, Sending(20, 960, 1, 20), true, 20,
                  DrainTime(20, 9600), DrainTime(20, 9600) + kStep},
        // A full buffer at a low rate, sent in USB transfers of 64 bytes: all of it goes.
        DrainCase{"FullBufferSentSlowly", 9600, Sending(4096, 960, 64), false, 0, 4266ms,
                  4266ms + 2 * kStep},
        DrainCase{"FullBufferStuckAtALowRate", 1200, Sending(4096, 120, 1, 4096), true, 4096,
                  DrainTime(512, 1200), DrainTime(512, 1200) + kStep},
        DrainCase{"XoffHalfWay", 9600, Sending(100, 960, 1, 40), true, 40, 62ms,
                  DrainTime(100, 9600) + kStep}),
    [](const testing::TestParamInfo<DrainCase>& info) { return info.param.name; });

TEST(DrainBound, AStuckLineNeverHoldsTheCloseForTheDriversClosingWait) {
    for (DWORD rate : {300u, 1200u, 9600u, 115200u}) {
        StandInLine line(Sending(4096, 0, 1, 4096));
        DrainQueuedOutput(line, rate);
        EXPECT_LT(line.Elapsed(), kClosingWait) << rate << " baud";
    }
}

}  // namespace
