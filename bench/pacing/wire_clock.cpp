#include "bench/pacing/wire_clock.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace pacing {

WireClock::WireClock(std::string fifoPath) : fifoPath_(std::move(fifoPath)) {
    if (mkfifo(fifoPath_.c_str(), 0600) != 0) {
        throw std::runtime_error("mkfifo " + fifoPath_ + ": " + std::strerror(errno));
    }
    // Opened for reading first, without waiting, so that the simulator's open for writing
    // finds a reader and goes through.
    fifo_ = open(fifoPath_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    wake_ = eventfd(0, EFD_CLOEXEC);
    if (fifo_ < 0 || wake_ < 0) {
        throw std::runtime_error("cannot watch " + fifoPath_ + ": " + std::strerror(errno));
    }
    watcher_ = std::thread([this] { Watch(); });
    // On a busy machine an ordinary thread can wait for the processor longer than a line takes,
    // and its times would then be late; a real-time thread is not kept waiting. Without the
    // right to that it stays an ordinary thread (RealTime() says which).
    sched_param priority{};
    priority.sched_priority = sched_get_priority_min(SCHED_FIFO);
    realTime_ = pthread_setschedparam(watcher_.native_handle(), SCHED_FIFO, &priority) == 0;
}

WireClock::~WireClock() {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wake_, &one, sizeof one);
    watcher_.join();
    close(fifo_);
    close(wake_);
    unlink(fifoPath_.c_str());
}

void WireClock::Watch() {
    pollfd fds[2] = {{fifo_, POLLIN, 0}, {wake_, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        const Clock::time_point now = Clock::now();
        char buffer[4096];
        ssize_t got;
        while ((got = read(fifo_, buffer, sizeof buffer)) > 0) {
            std::lock_guard lock(mutex_);
            for (ssize_t i = 0; i < got; ++i) {
                if (buffer[i] == '\r') commandTimes_.push_back(now);
            }
            wire_.append(buffer, static_cast<std::size_t>(got));
            arrived_.notify_all();
        }
        // The simulator has gone: the FIFO would report the hang-up without end.
        if (got == 0) fds[0].fd = -1;
    }
}

bool WireClock::WaitForCommands(std::size_t count, Clock::duration limit) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, limit, [&] { return commandTimes_.size() >= count; });
}

std::vector<Clock::time_point> WireClock::CommandTimes() {
    std::lock_guard lock(mutex_);
    return commandTimes_;
}

std::string WireClock::Wire() {
    std::lock_guard lock(mutex_);
    return wire_;
}

}  // namespace pacing
