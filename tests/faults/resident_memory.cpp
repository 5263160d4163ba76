#include "tests/faults/resident_memory.h"

#include <unistd.h>

#include <fstream>

namespace qdax_fault {

std::size_t ResidentBytes() {
    // The second field counts resident pages.
    std::ifstream statm("/proc/self/statm");
    std::size_t totalPages = 0;
    std::size_t residentPages = 0;
    if (!(statm >> totalPages >> residentPages)) return 0;
    return residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace qdax_fault
