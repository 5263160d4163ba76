// How much memory this process is using right now.
#pragma once

#include <cstddef>

namespace qdax_fault {

// Under a sanitizer, the heap bytes the program holds: the sanitizer's shadow and quarantine
// grow with every page it touches and are not the program's. Otherwise the resident set size in
// bytes. 0 when it cannot be read.
std::size_t MemoryInUse();

}  // namespace qdax_fault
