#include "app/widgets/delay_reading.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr DelayReading kNotAnInteger{0, false};

// The value of `c` as a digit of `base` (10 or 16), or -1 when it is none.
int DigitValue(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16) {
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

DelayReading ReadDelayText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return kNotAnInteger;

    // The magnitude may reach 2^31 only for a negative number.
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) return kNotAnInteger;
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (magnitude > limit) return kNotAnInteger;
    }
    const int64_t value =
        negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return {static_cast<int32_t>(value), true};
}
