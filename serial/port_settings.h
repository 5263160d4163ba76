// The settings of a serial port as the program states them, and the callback for received lines.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/win32_types.h"

enum ParityType : std::uint8_t {
    ParityNone = 0,
    ParityEven = 1,
    ParityOdd = 2,
    ParityMark = 3,
};

enum StopBitsType : std::uint8_t {
    StopBitsOne = 0,
    StopBitsOnePointFive = 1,
    StopBitsTwo = 2,
};

enum WriteModeType : std::uint8_t {
    WriteModeOverlapped = 0,
    WriteModePlain = 1,  // every non-zero value counts as plain
};

// Receives one line without its line end (possibly empty), NUL-terminated, on the window thread.
// The text is valid only during the call.
using LineReceivedCallback = std::function<void(const char* line)>;

// Told on the window thread that a read failed with the system error `code`, just before the
// system's text for it arrives as received lines. A program without an operator stops there.
using ReadFailureCallback = std::function<void(DWORD code)>;
