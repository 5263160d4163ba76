#include "platform/posix/posix_output_drain.h"

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <thread>

#include "platform/drain_time.h"
#include "platform/posix/posix_line_settings.h"

namespace platform::posix {

namespace {

constexpr std::chrono::milliseconds kPollInterval{5};

class TtyOutput final : public QueuedOutput {
public:
    explicit TtyOutput(int fd) : fd_(fd) {}

    int Queued() override {
        int bytes = 0;
        return ioctl(fd_, TIOCOUTQ, &bytes) == 0 ? bytes : -1;
    }
    void Discard() override { DiscardUnsentOutput(fd_); }
    Clock::time_point Now() override { return Clock::now(); }
    void Pause(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }

private:
    const int fd_;
};

bool IsPseudoTerminal(int fd) {
    constexpr unsigned kLegacySlaveMajor = 3;
    constexpr unsigned kSlaveMajor = 136;  // and the seven after it
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) return false;
    const unsigned deviceMajor = major(status.st_rdev);
    return deviceMajor == kLegacySlaveMajor ||
           (deviceMajor >= kSlaveMajor && deviceMajor < kSlaveMajor + 8);
}

}  // namespace

DrainOutcome DrainQueuedOutput(QueuedOutput& line, DWORD baudRate) {
    int queued = line.Queued();
    if (queued == 0) return {};
    if (queued > 0) {
        const QueuedOutput::Clock::time_point start = line.Now();
        const QueuedOutput::Clock::time_point deadline =
            start + DrainTime(static_cast<std::size_t>(queued), baudRate);
        QueuedOutput::Clock::time_point lastMove = start;
        int lastCount = queued;
        while (queued > 0) {
            const QueuedOutput::Clock::time_point now = line.Now();
            const auto stall = StallTime(static_cast<std::size_t>(lastCount), baudRate);
            if (now >= deadline || now - lastMove >= stall) break;
            line.Pause(kPollInterval);
            queued = line.Queued();
            if (queued < lastCount) {
                lastCount = queued;
                lastMove = line.Now();
            }
        }
        if (queued == 0) return {};
    }
    line.Discard();
    return DrainOutcome{true, queued};
}

void DrainBeforeClose(int fd) {
    if (IsPseudoTerminal(fd)) return;
    LineSettings settings;
    if (ReadLineSettings(fd, settings) != 0) settings.baudRate = 0;
    TtyOutput output(fd);
    DrainQueuedOutput(output, settings.baudRate);
}

}  // namespace platform::posix
