// How long a serial line may take to send what it holds before a close gives up on it, and how
// long it may show no progress before it counts as stuck (CTS held low, an XOFF, a device that
// stopped reading).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>

#include "platform/win32_types.h"

namespace platform {

// Time for the driver, the adapter and the device to take over what the line has been handed.
inline constexpr std::chrono::milliseconds kDrainMargin{300};

// The time `bytes` take at `baudRate` in the longest frame (start, 8 data, parity and 2 stop
// bits), plus the margin. A line without a rate gets the margin alone.
inline std::chrono::milliseconds DrainTime(std::size_t bytes, DWORD baudRate) {
    constexpr std::size_t kLongestFrameBits = 12;
    if (baudRate == 0) return kDrainMargin;
    const auto sending = bytes * kLongestFrameBits * 1000 / baudRate;
    return kDrainMargin + std::chrono::milliseconds(sending + 1);
}

// Progress comes a transfer at a time (a USB adapter's count falls by whole transfers, a write
// completes whole): a line that moves nothing for the time of the next transfer is stuck.
inline constexpr std::size_t kLargestTransfer = 512;

inline std::chrono::milliseconds StallTime(std::size_t nextBytes, DWORD baudRate) {
    return DrainTime(std::min(nextBytes, kLargestTransfer), baudRate);
}

}  // namespace platform
