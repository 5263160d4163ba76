#include "tests/faults/memory_in_use.h"

#include <windows.h>
// psapi.h stands on the types of windows.h.
#include <psapi.h>

namespace qdax_fault {

std::size_t MemoryInUse() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.WorkingSetSize;
}

}  // namespace qdax_fault
