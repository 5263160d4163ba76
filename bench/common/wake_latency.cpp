#include "bench/common/wake_latency.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "bench/common/statistics.h"

namespace bench {

double MedianWakeUpMicroseconds(int exchanges) {
    std::mutex mutex;
    std::condition_variable changed;
    bool answerersTurn = false;
    std::thread answerer([&] {
        for (int i = 0; i < exchanges; ++i) {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return answerersTurn; });
            answerersTurn = false;
            changed.notify_all();
        }
    });
    std::vector<double> roundTrips;
    roundTrips.reserve(static_cast<std::size_t>(exchanges));
    for (int i = 0; i < exchanges; ++i) {
        const auto sent = std::chrono::steady_clock::now();
        std::unique_lock lock(mutex);
        answerersTurn = true;
        changed.notify_all();
        changed.wait(lock, [&] { return !answerersTurn; });
        roundTrips.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - sent)
                .count());
    }
    answerer.join();
    return Median(roundTrips) / 2;
}

}  // namespace bench
