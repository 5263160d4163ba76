#include "tools/qdax_sim/device_loop.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/qdax_sim/command_splitter.h"
#include "tools/qdax_sim/output_queue.h"
#include "tools/qdax_sim/response_builder.h"
#include "tools/qdax_sim/spew_source.h"
#include "tools/qdax_sim/stop_signals.h"

namespace qdax_sim {
namespace {

using Clock = OutputQueue::Clock;
using std::chrono::milliseconds;

constexpr milliseconds kFarEndReadLimit{2000};
constexpr milliseconds kFarEndCheckInterval{10};

// Until the next pause ends; without one (nothing queued, or bytes due and waiting for room)
// only the descriptors wake the loop.
int PollTimeout(std::optional<Clock::time_point> writeAt, Clock::time_point now) {
    if (!writeAt || *writeAt <= now) return -1;
    auto wait = std::chrono::ceil<milliseconds>(*writeAt - now);
    return static_cast<int>(wait.count());
}

bool StopRequested(int timeoutMs) {
    pollfd stop{StopSignalDescriptor(), POLLIN, 0};
    return poll(&stop, 1, timeoutMs) > 0;
}

// Closing the master discards what the far end has not read yet, so give its reader a chance.
// The first look comes after one interval: freshly written bytes may not have reached the far
// end's input queue yet.
DeviceEnd WaitForFarEndToRead(const PseudoTerminal& pty) {
    auto deadline = Clock::now() + kFarEndReadLimit;
    do {
        if (StopRequested(static_cast<int>(kFarEndCheckInterval.count()))) {
            return DeviceEnd::Stopped;
        }
    } while (pty.UnreadByFarEnd() > 0 && Clock::now() < deadline);
    return DeviceEnd::Disconnected;
}

class Device {
public:
    Device(const PseudoTerminal& pty, const SimOptions& options, Recorder& recorder)
        : pty_(pty), options_(options), recorder_(recorder), spew_(options.spewRate) {}

    DeviceEnd Run(std::string& error) {
        for (;;) {
            if (closing_ && queue_.Empty()) return WaitForFarEndToRead(pty_);
            if (spewing_ && queue_.Empty()) queue_.Push(spew_.NextPiece());
            auto now = Clock::now();
            auto writeAt = queue_.NextWriteAt();
            bool due = writeAt && *writeAt <= now;
            pollfd fds[2] = {{StopSignalDescriptor(), POLLIN, 0},
                             {pty_.master(), static_cast<short>(POLLIN | (due ? POLLOUT : 0)), 0}};
            if (poll(fds, 2, PollTimeout(writeAt, now)) < 0) {
                if (errno == EINTR) continue;
                return Fail(error, "poll");
            }
            if (fds[0].revents != 0) return DeviceEnd::Stopped;
            short events = fds[1].revents;
            if ((events & POLLIN) && !Receive(error)) return DeviceEnd::Failed;
            if ((events & POLLOUT) && !queue_.WriteSome(pty_.master())) {
                return Fail(error, "write");
            }
            if ((events & (POLLERR | POLLHUP | POLLNVAL)) && !(events & POLLIN)) {
                error = "the pseudo-terminal hung up";
                return DeviceEnd::Failed;
            }
        }
    }

private:
    static DeviceEnd Fail(std::string& error, const char* what) {
        error = std::string(what) + ": " + std::strerror(errno);
        return DeviceEnd::Failed;
    }

    bool Receive(std::string& error) {
        char buffer[4096];
        ssize_t count = read(pty_.master(), buffer, sizeof buffer);
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) return true;
        if (count < 0) {
            Fail(error, "read");
            return false;
        }
        if (count == 0) {
            error = "the pseudo-terminal was closed";
            return false;
        }
        std::string_view bytes(buffer, static_cast<std::size_t>(count));
        error = recorder_.Append(bytes);
        if (!error.empty()) return false;
        for (const std::string& command : splitter_.Feed(bytes)) Answer(command);
        return true;
    }

    void Answer(const std::string& command) {
        if (closing_) return;
        if (options_.spewRate > 0) {
            spewing_ = true;  // a spewing device answers nothing
            return;
        }
        for (OutputItem& item : BuildResponse(command, options_)) queue_.Push(std::move(item));
        ++handled_;
        closing_ = options_.disconnectAfter && handled_ == *options_.disconnectAfter;
    }

    const PseudoTerminal& pty_;
    const SimOptions& options_;
    Recorder& recorder_;
    CommandSplitter splitter_;
    OutputQueue queue_;
    std::size_t handled_ = 0;
    bool closing_ = false;
    SpewSource spew_;
    bool spewing_ = false;
};

}  // namespace

DeviceEnd RunDevice(const PseudoTerminal& pty, const SimOptions& options, Recorder& recorder,
                    std::string& error) {
    return Device(pty, options, recorder).Run(error);
}

}  // namespace qdax_sim
