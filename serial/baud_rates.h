// The baud rates the operator can choose: the chooser shows the labels in this order, and the
// index of its selection picks the rate handed to the port.
#pragma once

#include <array>
#include <cstdint>

struct BaudRate {
    const char* label;
    std::int32_t value;  // bits per second
};

inline constexpr std::array<BaudRate, 8> BaudRates{{
    {"9600", 9600},
    {"19200", 19200},
    {"38400", 38400},
    {"57600", 57600},
    {"115.2k", 115200},
    {"230.4k", 230400},
    {"460.8k", 460800},
    {"921.6k", 921600},
}};
