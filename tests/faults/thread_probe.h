// What another thread of this process is doing at this moment, as the kernel shows it: whether it
// sleeps for a set time (as the window thread does in the command delay) rather than waiting for
// events, which a thread serving an event loop does in poll.
#pragma once

#include <sys/types.h>

namespace qdax_fault {

// The kernel's id of the calling thread.
pid_t CurrentThreadId();

// True while thread `threadId` of this process is inside a timed sleep (clock_nanosleep).
bool IsInTimedSleep(pid_t threadId);

}  // namespace qdax_fault
