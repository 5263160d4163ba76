// The window as the program that plays: the file area's lines, the log and the port, the delay
// field, and the manual entry line that playback locks.
#pragma once

#include "playback/playback.h"

class TMainForm;

class WindowPlaybackHost : public PlaybackHost {
public:
    explicit WindowPlaybackHost(TMainForm& window) : window_(window) {}

    std::int32_t LineCount() override;
    std::string LineAt(std::int32_t index) override;
    void SendCommand(const std::string& text) override;
    void LogReceived(std::string_view line) override;
    std::int32_t CommandDelay() override;
    void WaitCommandDelay(std::int32_t milliseconds) override;
    void AllowManualEntry(bool allowed) override;

private:
    TMainForm& window_;
};
