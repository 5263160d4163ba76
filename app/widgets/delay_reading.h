// Reading of the command delay field's text. The field keeps whatever the operator typed; its value
// is taken from the text each time it is needed.
#pragma once

#include <cstdint>
#include <string_view>

struct DelayReading {
    int32_t value;    // the integer the text reads, or 0 when it is not an integer
    bool wasInteger;  // false when the text is not an integer
};

// Parses `text` as an integer: leading spaces, an optional "+" or "-", then decimal digits, or
// hexadecimal digits after "$", "0x" or "0X". Nothing may follow the digits and the number must fit
// a signed 32-bit integer. The value is not limited to any range.
DelayReading ReadDelayText(std::string_view text);
