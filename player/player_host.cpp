#include "player/player_host.h"

#include <utility>

#include "platform/standard_streams.h"
#include "playback/log_lines.h"
#include "serial/serial_port_info.h"

PlayerHost::PlayerHost(std::vector<std::string> lines, std::int32_t delayMs, std::FILE* echo,
                       ProgressLine& progress, StopRequest& stop)
    : lines_(std::move(lines)), delayMs_(delayMs), echo_(echo), progress_(progress), stop_(stop) {}

std::int32_t PlayerHost::LineCount() {
    return static_cast<std::int32_t>(lines_.size());
}

std::string PlayerHost::LineAt(std::int32_t index) {
    return lines_[static_cast<std::size_t>(index)];
}

// Once interrupted nothing more goes out: the run ends with the line already sent.
void PlayerHost::SendCommand(const std::string& text) {
    if (stop_.Requested()) return;
    lastSent_ = std::chrono::steady_clock::now();
    Record(SentLogLine(text));
    port_->SerialPortWrite(CommandOnTheWire(text));
}

void PlayerHost::LogReceived(std::string_view line) {
    Record(ReceivedLogLine(line));
}

void PlayerHost::WaitCommandDelay(std::int32_t milliseconds) {
    stop_.WaitFor(std::chrono::milliseconds(milliseconds));
}

void PlayerHost::AllowManualEntry(bool /*allowed*/) {
    // There is no manual entry without a window.
}

void PlayerHost::Record(std::string logLine) {
    if (echo_ != nullptr) {
        progress_.Clear();
        logLine += '\n';
        platform::WriteSystemText(echo_, logLine);
        std::fflush(echo_);
        logLine.pop_back();
    }
    log_.push_back(std::move(logLine));
}
