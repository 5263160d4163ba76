// The backend's own rules, checked below the Win32 calls.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>
#include <ostream>

#include <cerrno>
#include <memory>
#include <optional>

#include "platform/posix/posix_comm_timeouts.h"
#include "platform/posix/posix_dcb.h"
#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_event.h"
#include "platform/posix/posix_io_engine.h"
#include "platform/posix/posix_overlapped.h"

namespace {

using platform::posix::ReadPlan;

struct PlanCase {
    COMMTIMEOUTS timeouts;
    DWORD size;
    bool returnAtOnce;
    bool firstByteEnds;
    std::optional<std::uint64_t> totalMs;
    std::optional<std::uint64_t> intervalMs;
};

void PrintTo(const PlanCase& plan, std::ostream* out) {
    const COMMTIMEOUTS& t = plan.timeouts;
    *out << t.ReadIntervalTimeout << "/" << t.ReadTotalTimeoutMultiplier << "/"
         << t.ReadTotalTimeoutConstant << " for " << plan.size;
}

class ReadPlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(ReadPlanTest, FollowsTheSystemsMeaning) {
    const ReadPlan plan = platform::posix::PlanRead(GetParam().timeouts, GetParam().size);
    EXPECT_EQ(plan.returnAtOnce, GetParam().returnAtOnce);
    EXPECT_EQ(plan.firstByteEnds, GetParam().firstByteEnds);
    EXPECT_EQ(plan.totalMs, GetParam().totalMs);
    EXPECT_EQ(plan.intervalMs, GetParam().intervalMs);
}

INSTANTIATE_TEST_SUITE_P(
    Timeouts, ReadPlanTest,
    testing::Values(PlanCase{{0, 0, 0, 0, 0}, 255, false, false, std::nullopt, std::nullopt},
                    PlanCase{{50, 0, 0, 0, 0}, 255, false, false, std::nullopt, 50},
                    PlanCase{{0, 10, 100, 0, 0}, 255, false, false, 2650, std::nullopt},
                    PlanCase{{20, 0, 300, 0, 0}, 1, false, false, 300, 20},
                    PlanCase{{MAXDWORD, 0, 0, 0, 0}, 255, true, false, std::nullopt, std::nullopt},
                    PlanCase{{MAXDWORD, MAXDWORD, 500, 0, 0}, 255, false, true, 500, std::nullopt},
                    PlanCase{{MAXDWORD, MAXDWORD, 0, 0, 0},
                             1,
                             false,
                             false,
                             std::uint64_t{MAXDWORD},
                             std::uint64_t{MAXDWORD}}));

TEST(WritePlanTest, TotalIsMultiplierTimesBytesPlusConstant) {
    EXPECT_EQ(platform::posix::PlanWrite({0, 0, 0, 0, 0}, 100), std::nullopt);
    EXPECT_EQ(platform::posix::PlanWrite({0, 0, 0, 3, 7}, 100), 307u);
    EXPECT_EQ(platform::posix::PlanWrite({0, 0, 0, 0, 7}, 100), 7u);
}

TEST(DcbTest, LongStopReadsBackByDataBits) {
    platform::posix::LineSettings line;
    line.longStop = true;
    line.dataBits = 5;
    EXPECT_EQ(WithLineSettings(platform::posix::DefaultDcb(), line).StopBits, ONE5STOPBITS);
    line.dataBits = 7;
    EXPECT_EQ(WithLineSettings(platform::posix::DefaultDcb(), line).StopBits, TWOSTOPBITS);
}

TEST(DcbTest, ModemLinesFollowTheControlModes) {
    DCB dcb = platform::posix::DefaultDcb();
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    platform::posix::ModemLineStates lines = platform::posix::ModemLinesFromDcb(dcb);
    EXPECT_EQ(lines.dtr, false);
    EXPECT_EQ(lines.rts, std::nullopt);  // the handshake drives RTS
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    lines = platform::posix::ModemLinesFromDcb(dcb);
    EXPECT_EQ(lines.dtr, true);
    EXPECT_EQ(lines.rts, false);
}

TEST(ErrnoTest, MapsToTheSystemsCodesOrCarriesTheErrno) {
    const struct {
        int error;
        DWORD code;
    } cases[] = {{ENOENT, ERROR_FILE_NOT_FOUND},       {EACCES, ERROR_ACCESS_DENIED},
                 {EPERM, ERROR_ACCESS_DENIED},         {EBUSY, ERROR_SHARING_VIOLATION},
                 {ENOTTY, ERROR_NOT_SUPPORTED},        {EINVAL, ERROR_INVALID_PARAMETER},
                 {ENODEV, ERROR_DEVICE_NOT_CONNECTED}, {EPROTO, 0x20000000u | EPROTO}};
    for (const auto& entry : cases) {
        EXPECT_EQ(platform::posix::ErrorFromErrno(entry.error), entry.code) << entry.error;
    }
}

// A socket pair gives bytes to the engine at once, so the moment of the hang-up is exact.
TEST(IoEngineTest, BytesGatheredBeforeAHangUpAreDeliveredFirst) {
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, ends), 0);
    DWORD error = 0;
    std::unique_ptr<platform::posix::IoEngine> engine =
        platform::posix::IoEngine::Start(ends[0], error);
    ASSERT_NE(engine, nullptr) << error;
    ASSERT_EQ(write(ends[1], "AB", 2), 2);

    auto event = std::make_shared<platform::posix::Event>(true, false);
    OVERLAPPED record{};
    std::uint8_t buffer[10] = {};
    DWORD bytesNow = 0;
    ASSERT_EQ(engine->StartRead(buffer, sizeof buffer, ReadPlan{},
                                platform::posix::CompletionRecord(&record, event), bytesNow),
              ERROR_IO_PENDING);
    close(ends[1]);
    const platform::posix::RecordOutcome first =
        platform::posix::ReadRecord(record, event.get(), true, false);
    EXPECT_EQ(first.error, ERROR_SUCCESS);
    EXPECT_EQ(first.bytes, 2u);
    EXPECT_EQ(buffer[0], 'A');
    EXPECT_EQ(buffer[1], 'B');

    OVERLAPPED next{};
    EXPECT_EQ(engine->StartRead(buffer, sizeof buffer, ReadPlan{},
                                platform::posix::CompletionRecord(&next, event), bytesNow),
              ERROR_DEVICE_NOT_CONNECTED);
    engine->Stop();
    close(ends[0]);
}

}  // namespace
