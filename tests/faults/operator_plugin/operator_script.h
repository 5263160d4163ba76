// What the scripted operator does in the real program: the port to open, the file to play and
// its command delay, and when and how to close the window. Written as "key=value" pairs joined by
// ';', e.g. "port=COM9;file=/tmp/a.txt;delay=2000;wire=/tmp/w;moment=delay;close=escape".
#pragma once

#include <QString>
#include <optional>

namespace qdax_operator {

// When the operator closes the window, once the first line of the file has reached the device.
enum class CloseMoment {
    PendingRead,   // at once: the device is silent and the reader waits for its answer
    CommandDelay,  // while the window thread waits the command delay after the answer
};

// How the operator closes it.
enum class CloseWay { CloseButton, EscapeKey, CloseBox };

struct OperatorScript {
    QString port;      // the device name the port chooser lists it by: "COM9"
    QString file;      // the command file to load and play
    int delayMs = 0;   // the command delay
    QString wirePath;  // the device's recording of what it received
    CloseMoment moment = CloseMoment::PendingRead;
    CloseWay way = CloseWay::CloseButton;
};

// Nothing when a key is unknown or missing or a value is invalid.
std::optional<OperatorScript> ParseOperatorScript(const QString& text);

// The script's text, as ParseOperatorScript reads it.
QString OperatorScriptText(const OperatorScript& script);

}  // namespace qdax_operator
