// What another thread of this process is doing at this moment, as the system shows it: whether it
// sleeps for a set time (as the window thread does in the command delay) rather than waiting for
// events, which a thread serving an event loop does.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/types.h>
#endif

namespace qdax_fault {

#ifdef _WIN32
using ThreadId = DWORD;
#else
using ThreadId = pid_t;  // the kernel's id of a thread
#endif

ThreadId CurrentThreadId();

// True while thread `threadId` of this process is inside a timed sleep: in clock_nanosleep on
// Linux; delaying its execution (Sleep) on Windows.
bool IsInTimedSleep(ThreadId threadId);

}  // namespace qdax_fault
