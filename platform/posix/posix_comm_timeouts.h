// What a port's COMMTIMEOUTS mean for one read or write, in the system's terms: the interval
// time-out counts the silence after a byte has come, the total time-out is multiplier times the
// bytes asked for plus the constant (both 0: none), MAXDWORD/0/0 reads what is there at once,
// and MAXDWORD/MAXDWORD/constant waits up to the constant for the first byte only.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32_types.h"

namespace platform::posix {

struct ReadPlan {
    bool returnAtOnce = false;   // complete within the call with what is there, even nothing
    bool firstByteEnds = false;  // complete as soon as any byte is there
    std::optional<std::uint64_t> totalMs;     // complete with what is there once this has passed
    std::optional<std::uint64_t> intervalMs;  // complete after this much silence after a byte
};

ReadPlan PlanRead(const COMMTIMEOUTS& timeouts, DWORD bytesToRead);

// The write's total time-out, nothing for none.
std::optional<std::uint64_t> PlanWrite(const COMMTIMEOUTS& timeouts, DWORD bytesToWrite);

// False for the combination the system refuses: every read time-out MAXDWORD.
bool AreValidTimeouts(const COMMTIMEOUTS& timeouts);

}  // namespace platform::posix
