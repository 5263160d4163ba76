// The memory the benchmark's own process holds, from /proc/self/status.
#pragma once

#include <cstdint>

// Kilobytes; 0 when the kernel does not say.
std::uint64_t ResidentKilobytes();      // VmRSS, now
std::uint64_t PeakResidentKilobytes();  // VmHWM, the most the process has held
