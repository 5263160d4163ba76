#include "tests/faults/thread_probe.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace qdax_fault {

ThreadId CurrentThreadId() {
    return static_cast<pid_t>(syscall(SYS_gettid));
}

bool IsInTimedSleep(ThreadId threadId) {
    // The first field is the number of the system call the thread is blocked in, or "running".
    std::ifstream state("/proc/self/task/" + std::to_string(threadId) + "/syscall");
    std::string call;
    return state >> call && call == std::to_string(SYS_clock_nanosleep);
}

}  // namespace qdax_fault
