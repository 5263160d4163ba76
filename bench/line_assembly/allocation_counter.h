// Counts the heap allocations the whole program makes, through a replaced global operator new.
#pragma once

#include <cstdint>

namespace bench {

std::uint64_t AllocationsSoFar();

}  // namespace bench
