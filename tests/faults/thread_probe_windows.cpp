#include "tests/faults/thread_probe.h"

#include <winternl.h>

#include <vector>

namespace qdax_fault {
namespace {

constexpr ULONG kWaiting = 5;         // the thread state of a thread that waits
constexpr ULONG kDelayExecution = 4;  // the reason of a wait in Sleep

// The system's snapshot of every process and its threads; empty when it cannot be had.
std::vector<char> ProcessSnapshot() {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = ::NtQuerySystemInformation(
            SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status >= 0) return buffer;
        if (needed <= buffer.size()) return {};
        buffer.resize(needed + (1 << 16));
    }
}

}  // namespace

ThreadId CurrentThreadId() {
    return ::GetCurrentThreadId();
}

bool IsInTimedSleep(ThreadId threadId) {
    const std::vector<char> snapshot = ProcessSnapshot();
    const auto self = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(::GetCurrentProcessId()));
    for (std::size_t offset = 0; offset < snapshot.size();) {
        const auto* process =
            reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&snapshot[offset]);
        if (process->UniqueProcessId == self) {
            // The process's threads follow its record.
            const auto* threads = reinterpret_cast<const SYSTEM_THREAD_INFORMATION*>(process + 1);
            for (ULONG i = 0; i < process->NumberOfThreads; ++i) {
                if (threads[i].ClientId.UniqueThread ==
                    reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(threadId))) {
                    return threads[i].ThreadState == kWaiting &&
                           threads[i].WaitReason == kDelayExecution;
                }
            }
            return false;
        }
        if (process->NextEntryOffset == 0) break;
        offset += process->NextEntryOffset;
    }
    return false;
}

}  // namespace qdax_fault
