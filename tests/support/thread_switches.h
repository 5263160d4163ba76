// What the threads of this process are doing, from /proc/self/task: how often each has given up
// the processor (a thread that spins or polls piles switches up, one that waits does not), and
// whether one is asleep in the kernel.
#pragma once

#include <cstdint>
#include <map>

namespace qdax_test {

// By thread id; the main thread's id is the process id.
std::map<int, std::uint64_t> ContextSwitchesByThread();

// True once the thread `tid` of this process is asleep in the kernel, for up to the generous
// time-out.
bool BecomesBlocked(int tid);

}  // namespace qdax_test
