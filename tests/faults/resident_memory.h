// How much memory this process has in RAM right now.
#pragma once

#include <cstddef>

namespace qdax_fault {

// The resident set size in bytes; 0 when it cannot be read.
std::size_t ResidentBytes();

}  // namespace qdax_fault
