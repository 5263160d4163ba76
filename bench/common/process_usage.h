// What the benchmark's own process has cost so far: CPU time and wake-ups (context switches),
// for the whole process and for each of its threads that is still alive.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <vector>

namespace bench {

struct ProcessUsage {
    std::chrono::steady_clock::time_point at;
    double cpuSeconds = 0;                        // user and system, every thread, ended ones too
    std::uint64_t contextSwitches = 0;            // voluntary and involuntary, the same
    std::map<int, std::uint64_t> threadSwitches;  // by thread id, the live threads
};

ProcessUsage SampleProcessUsage();

// The cost between two samples of the same process.
struct UsageRate {
    double seconds = 0;
    double cpuPercent = 0;  // of one core
    double wakeUpsPerSecond = 0;
    // Each thread alive at both samples, with its wake-ups per second.
    struct Thread {
        int tid;
        double wakeUpsPerSecond;
    };
    std::vector<Thread> threads;
};

UsageRate RateBetween(const ProcessUsage& before, const ProcessUsage& after);

}  // namespace bench
