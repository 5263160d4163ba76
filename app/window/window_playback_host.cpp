#include "app/window/window_playback_host.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/text/qstring_bytes.h"
#include "app/widgets/delay_spin_edit.h"
#include "app/window/daxtest.h"
#include "app/window/text_area_lines.h"
#include "platform/comm.h"
#include "playback/log_lines.h"

std::int32_t WindowPlaybackHost::LineCount() {
    return ::LineCount(*window_.UploadFile);
}

std::string WindowPlaybackHost::LineAt(std::int32_t index) {
    return ToBytes(::LineAt(*window_.UploadFile, index));
}

void WindowPlaybackHost::SendCommand(const std::string& text) {
    window_.SendCommand(text);
}

void WindowPlaybackHost::LogReceived(std::string_view line) {
    window_.SendLog->AppendLine(ReceivedLogLine(line));
}

std::int32_t WindowPlaybackHost::CommandDelay() {
    return window_.DelaySpinEdit->Value();
}

// The window thread sleeps: it neither repaints nor takes input until the next line is out.
void WindowPlaybackHost::WaitCommandDelay(std::int32_t milliseconds) {
    platform::SleepEx(static_cast<DWORD>(milliseconds), FALSE);
}

void WindowPlaybackHost::AllowManualEntry(bool allowed) {
    window_.ManualEntry->setEnabled(allowed);
}
