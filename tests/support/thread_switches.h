// How often each thread of this process has given up the processor so far (voluntary and
// involuntary context switches, from /proc/self/task): a thread that spins or polls piles them
// up, a thread that waits for something does not.
#pragma once

#include <cstdint>
#include <map>

namespace qdax_test {

// By thread id; the main thread's id is the process id.
std::map<int, std::uint64_t> ContextSwitchesByThread();

}  // namespace qdax_test
