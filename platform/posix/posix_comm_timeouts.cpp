#include "platform/posix/posix_comm_timeouts.h"

#include <algorithm>

namespace platform::posix {

namespace {

// Longer waits than about 35 years are the same as none in practice; the cap keeps the clock's
// arithmetic from overflowing.
constexpr std::uint64_t kLongestWaitMs = std::uint64_t{1} << 40;

std::optional<std::uint64_t> TotalMs(DWORD multiplier, DWORD constant, DWORD bytes) {
    if (multiplier == 0 && constant == 0) return std::nullopt;
    const std::uint64_t total = std::uint64_t{multiplier} * bytes + constant;
    return std::min(total, kLongestWaitMs);
}

}  // namespace

ReadPlan PlanRead(const COMMTIMEOUTS& timeouts, DWORD bytesToRead) {
    ReadPlan plan;
    const DWORD interval = timeouts.ReadIntervalTimeout;
    const DWORD multiplier = timeouts.ReadTotalTimeoutMultiplier;
    const DWORD constant = timeouts.ReadTotalTimeoutConstant;
    if (interval == MAXDWORD && multiplier == 0 && constant == 0) {
        plan.returnAtOnce = true;
        return plan;
    }
    if (interval == MAXDWORD && multiplier == MAXDWORD && constant != 0 && constant != MAXDWORD) {
        plan.firstByteEnds = true;
        plan.totalMs = constant;
        return plan;
    }
    plan.totalMs = TotalMs(multiplier, constant, bytesToRead);
    if (interval != 0) plan.intervalMs = interval;
    return plan;
}

std::optional<std::uint64_t> PlanWrite(const COMMTIMEOUTS& timeouts, DWORD bytesToWrite) {
    return TotalMs(timeouts.WriteTotalTimeoutMultiplier, timeouts.WriteTotalTimeoutConstant,
                   bytesToWrite);
}

bool AreValidTimeouts(const COMMTIMEOUTS& timeouts) {
    return !(timeouts.ReadIntervalTimeout == MAXDWORD &&
             timeouts.ReadTotalTimeoutMultiplier == MAXDWORD &&
             timeouts.ReadTotalTimeoutConstant == MAXDWORD);
}

}  // namespace platform::posix
