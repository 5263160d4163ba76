// qdax-play as the program that plays: the command file's lines, a log kept in memory and echoed
// to standard output, the port, and a command delay that an interrupt cuts short.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "playback/playback.h"
#include "player/progress_line.h"
#include "player/stop_request.h"

class SerialPortInfo;

class PlayerHost : public PlaybackHost {
public:
    // `echo` receives each log line as it happens; none when quiet.
    PlayerHost(std::vector<std::string> lines, std::int32_t delayMs, std::FILE* echo,
               ProgressLine& progress, StopRequest& stop);

    // Commands go to `port` from now on.
    void AttachPort(SerialPortInfo& port) { port_ = &port; }

    std::int32_t LineCount() override;
    std::string LineAt(std::int32_t index) override;
    void SendCommand(const std::string& text) override;
    void LogReceived(std::string_view line) override;
    std::int32_t CommandDelay() override { return delayMs_; }
    void WaitCommandDelay(std::int32_t milliseconds) override;
    void AllowManualEntry(bool allowed) override;

    const std::vector<std::string>& Log() const { return log_; }
    std::chrono::steady_clock::time_point LastSent() const { return lastSent_; }

private:
    void Record(std::string logLine);

    std::vector<std::string> lines_;
    std::int32_t delayMs_;
    std::FILE* echo_;
    ProgressLine& progress_;
    StopRequest& stop_;
    SerialPortInfo* port_ = nullptr;
    std::vector<std::string> log_;
    std::chrono::steady_clock::time_point lastSent_;
};
