#include "player/command_file_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/blocking_dispatcher.h"
#include "platform/interrupts.h"
#include "platform/message_box.h"
#include "platform/standard_streams.h"
#include "platform/system_error_text.h"
#include "playback/app_error.h"
#include "playback/playback.h"
#include "playback/text_files.h"
#include "player/player_host.h"
#include "serial/open_settings.h"
#include "serial/serial_port_info.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often the progress line is redrawn while an answer is awaited.
constexpr auto kProgressInterval = std::chrono::milliseconds(200);
// Without a time-out the wait still wakes now and then; nothing depends on how often.
constexpr auto kLongWait = std::chrono::hours(1);

void Report(const std::string& message) {
    platform::WriteSystemText(stderr, "qdax-play: " + message + "\n");
}

class CommandFileRun {
public:
    CommandFileRun(const PlayerOptions& options, std::vector<std::string> lines)
        : options_(options),
          // Before any thread starts, so that the reader leaves interrupts to the watch.
          interrupts_([this] {
              stop_.Request();
              window_.Post([] {});  // wakes the wait for the device
          }),
          progress_(stderr, !options.quiet && platform::StandardErrorIsTerminal()),
          host_(std::move(lines), options.delayMs, options.quiet ? nullptr : stdout, progress_,
                stop_) {}

    ExitStatus Run() {
        if (!OpenPort()) return ExitStatus::PortNotOpened;
        started_ = Clock::now();
        playback_.Play();
        const ExitStatus status = AwaitEnd();
        progress_.Clear();
        // The port closes and its reader stops before the log is written.
        port_.reset();
        return SaveLog(status);
    }

private:
    bool OpenPort() {
        std::optional<DWORD> reason;
        platform::MessageBoxHandler previous =
            platform::SetMessageBoxHandler([&](const std::string&, const std::string&,
                                               DWORD systemError) { reason = systemError; });
        port_ = std::make_unique<SerialPortInfo>(
            options_.port, options_.baud, kOpenSettings.parity, kOpenSettings.stopBits,
            kOpenSettings.readIntervalTimeoutMs, kOpenSettings.writeMode,
            [this](const char* line) { playback_.LineReceived(line); });
        platform::SetMessageBoxHandler(std::move(previous));
        if (!port_->IsOpen()) {
            Report("cannot open " + options_.port + ": " +
                   (reason.value_or(0) != 0 ? platform::SystemErrorText(*reason)
                                            : std::string("Unable to open serial port")));
            port_.reset();
            return false;
        }
        // The failure's text still reaches the log, but nothing more goes out to a device that
        // is gone.
        port_->SetReadFailureCallback([this](DWORD code) {
            readFailure_ = code;
            playback_.Playing = false;
        });
        host_.AttachPort(*port_);
        return true;
    }

    ExitStatus AwaitEnd() {
        const std::chrono::seconds timeout(options_.answerTimeoutSeconds);
        while (true) {
            if (stop_.Requested()) {
                Report("interrupted");
                return ExitStatus::Interrupted;
            }
            if (readFailure_) {
                Report("the device vanished: " + platform::SystemErrorText(*readFailure_));
                return ExitStatus::DeviceVanished;
            }
            if (!playback_.Playing) return ExitStatus::Done;
            const Clock::time_point now = Clock::now();
            const Clock::time_point deadline =
                timeout.count() > 0 ? host_.LastSent() + timeout : now + kLongWait;
            if (now >= deadline) {
                Report("no answer to line " + std::to_string(playback_.NextLine) + " within " +
                       std::to_string(timeout.count()) + " s");
                return ExitStatus::NoAnswer;
            }
            progress_.Show(playback_.NextLine, host_.LineCount(), now - started_);
            Clock::duration slice = deadline - now;
            if (progress_.Enabled()) slice = std::min<Clock::duration>(slice, kProgressInterval);
            window_.ServeUntil(
                [this] { return stop_.Requested() || readFailure_ || !playback_.Playing; }, slice);
        }
    }

    ExitStatus SaveLog(ExitStatus status) {
        if (options_.logPath.empty()) return status;
        try {
            SaveLogFile(options_.logPath, host_.Log());
        } catch (const AppError& error) {
            Report(error.what());
            return status == ExitStatus::Done ? ExitStatus::FileUnusable : status;
        }
        return status;
    }

    const PlayerOptions& options_;
    StopRequest stop_;
    platform::BlockingDispatcher window_;
    platform::InterruptWatch interrupts_;
    ProgressLine progress_;
    PlayerHost host_;
    Playback playback_{host_};
    std::optional<DWORD> readFailure_;
    std::unique_ptr<SerialPortInfo> port_;
    Clock::time_point started_;
};

}  // namespace

ExitStatus PlayCommandFile(const PlayerOptions& options) {
    std::vector<std::string> lines;
    try {
        lines = options.file == "-" ? LoadCommandInput() : LoadCommandFile(options.file);
    } catch (const AppError& error) {
        Report(error.what());
        return ExitStatus::FileUnusable;
    }
    return CommandFileRun(options, std::move(lines)).Run();
}
