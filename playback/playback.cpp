#include "playback/playback.h"

#include <algorithm>

void Playback::Play() {
    host_.AllowManualEntry(false);
    Playing = true;
    SendNextLine();
}

void Playback::Pause() {
    Playing = !Playing;
    host_.AllowManualEntry(!Playing);
    if (Playing) {
        SendNextLine();
    }
}

void Playback::Step() {
    if (!Playing) {
        SendNextLine();
    }
}

void Playback::Stop() {
    Playing = false;
    NextLine = 0;
    host_.AllowManualEntry(true);
}

void Playback::SendNextLine() {
    if (NextLine < host_.LineCount()) {
        std::string line = host_.LineAt(NextLine);
        line.resize(std::min(line.size(), kMaxLineLength));
        ++NextLine;
        host_.SendCommand(line);
    } else {
        Stop();
    }
}

// The delay is read twice, as the operator may change it between; the wait holds up the device's
// next line, so nothing else happens until the next line has gone out.
void Playback::LineReceived(std::string_view line) {
    if (line.empty()) {
        return;
    }
    host_.LogReceived(line);
    if (!Playing) {
        return;
    }
    if (host_.CommandDelay() > 0) {
        host_.WaitCommandDelay(host_.CommandDelay());
    }
    SendNextLine();
}
