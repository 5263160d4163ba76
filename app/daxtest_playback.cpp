// Playback of the file area: one line per answer from the device, after the command delay.
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/daxtest.h"
#include "app/delay_spin_edit.h"
#include "app/system_text.h"
#include "app/text_area_lines.h"
#include "platform/comm.h"

namespace {

// A line of the file area is sent with at most this many characters.
constexpr int kMaxPlaybackLineLength = 4096;

}  // namespace

void TMainForm::SendNextLine() {
    if (NextLine < LineCount(*UploadFile)) {
        const QString line = LineAt(*UploadFile, NextLine).left(kMaxPlaybackLineLength);
        ++NextLine;
        SendCommand(ToBytes(line));
    } else {
        StopButtonClick();
    }
}

// The wait blocks the window thread, and with it the reader's hand-over, so nothing else happens
// until the next line has gone out. The field is read afresh each time, as the operator left it.
void TMainForm::AdvancePlayback() {
    if (DelaySpinEdit->Value() > 0) {
        platform::SleepEx(static_cast<DWORD>(DelaySpinEdit->Value()), FALSE);
    }
    SendNextLine();
}

void TMainForm::PlayButtonClick() {
    ManualEntry->setEnabled(false);
    Playing = true;
    SendNextLine();
}

void TMainForm::PauseButtonClick() {
    Playing = !Playing;
    ManualEntry->setEnabled(!Playing);
    if (Playing) {
        SendNextLine();
    }
}

void TMainForm::StepButtonClick() {
    if (!Playing) {
        SendNextLine();
    }
}

void TMainForm::StopButtonClick() {
    Playing = false;
    NextLine = 0;
    ManualEntry->setEnabled(true);
}
