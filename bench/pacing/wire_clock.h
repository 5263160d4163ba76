// When each command reached the device: the simulator records every byte it receives into a
// FIFO, and a thread of our own notes the moment each carriage return came through. Every
// contender is timed by this one clock, on the device's side of the wire.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pacing {

using Clock = std::chrono::steady_clock;

class WireClock {
public:
    // Makes the FIFO at `fifoPath` and watches it; the simulator is started with
    // `--record fifoPath` afterwards. Throws std::runtime_error when it cannot.
    explicit WireClock(std::string fifoPath);
    ~WireClock();
    WireClock(const WireClock&) = delete;
    WireClock& operator=(const WireClock&) = delete;

    // Whether the watching thread runs with a real-time priority.
    bool RealTime() const { return realTime_; }

    // Waits until `count` commands have come; false when they have not within `limit`.
    bool WaitForCommands(std::size_t count, Clock::duration limit);
    // The moment each command's carriage return reached the device, in order.
    std::vector<Clock::time_point> CommandTimes();
    // Every byte the device received.
    std::string Wire();

private:
    void Watch();

    std::string fifoPath_;
    int fifo_ = -1;
    int wake_ = -1;
    bool realTime_ = false;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Clock::time_point> commandTimes_;
    std::string wire_;
    std::thread watcher_;
};

}  // namespace pacing
