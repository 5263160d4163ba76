#include "bench/common/process_usage.h"

#include <sys/resource.h>

#include "tests/support/thread_switches.h"

namespace bench {

namespace {

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

}  // namespace

ProcessUsage SampleProcessUsage() {
    ProcessUsage usage;
    // The threads first, so that reading them is not counted as the cost of what follows.
    usage.threadSwitches = qdax_test::ContextSwitchesByThread();
    usage.at = std::chrono::steady_clock::now();
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    usage.cpuSeconds = Seconds(self.ru_utime) + Seconds(self.ru_stime);
    usage.contextSwitches =
        static_cast<std::uint64_t>(self.ru_nvcsw) + static_cast<std::uint64_t>(self.ru_nivcsw);
    return usage;
}

UsageRate RateBetween(const ProcessUsage& before, const ProcessUsage& after) {
    UsageRate rate;
    rate.seconds = std::chrono::duration<double>(after.at - before.at).count();
    if (rate.seconds <= 0) return rate;
    rate.cpuPercent = (after.cpuSeconds - before.cpuSeconds) / rate.seconds * 100;
    rate.wakeUpsPerSecond =
        static_cast<double>(after.contextSwitches - before.contextSwitches) / rate.seconds;
    for (const auto& [tid, switches] : after.threadSwitches) {
        const auto earlier = before.threadSwitches.find(tid);
        if (earlier == before.threadSwitches.end()) continue;
        rate.threads.push_back(
            {tid, static_cast<double>(switches - earlier->second) / rate.seconds});
    }
    return rate;
}

}  // namespace bench
