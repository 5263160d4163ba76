#include "tests/faults/memory_in_use.h"

#include <unistd.h>

#include <fstream>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers' allocator interface; GCC's runtimes have it without shipping its header.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace qdax_fault {

std::size_t MemoryInUse() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return __sanitizer_get_current_allocated_bytes();
#else
    // The second field counts resident pages.
    std::ifstream statm("/proc/self/statm");
    std::size_t totalPages = 0;
    std::size_t residentPages = 0;
    if (!(statm >> totalPages >> residentPages)) return 0;
    return residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
#endif
}

}  // namespace qdax_fault
