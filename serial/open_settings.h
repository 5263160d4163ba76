// The settings both programs open their port with. The operator chooses only the port and the
// baud rate; the rest is fixed here, once, so that the window and qdax-play open alike.
#pragma once

#include <cstdint>

#include "serial/port_settings.h"

struct OpenSettings {
    ParityType parity;
    StopBitsType stopBits;
    // The longest silence between two received bytes before a read hands over what it has.
    std::int32_t readIntervalTimeoutMs;
    WriteModeType writeMode;
};

inline constexpr OpenSettings kOpenSettings{ParityNone, StopBitsOne, 50, WriteModeOverlapped};
