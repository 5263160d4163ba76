// The Telnet protocol's command and option numbers that a client of a serial server meets.
#pragma once

#include <cstdint>

namespace platform::telnet {

// Commands follow kIac on the wire; a data byte 0xFF travels as kIac kIac.
inline constexpr std::uint8_t kSubNegotiationEnd = 240;    // SE
inline constexpr std::uint8_t kSubNegotiationBegin = 250;  // SB
inline constexpr std::uint8_t kIac = 255;

// The four negotiation verbs: the sender will or won't use an option itself, or asks the receiver
// to use it or not.
enum class Verb : std::uint8_t { kWill = 251, kWont = 252, kDo = 253, kDont = 254 };

inline constexpr bool IsVerb(std::uint8_t command) {
    return command >= static_cast<std::uint8_t>(Verb::kWill) &&
           command <= static_cast<std::uint8_t>(Verb::kDont);
}

struct Negotiation {
    Verb verb;
    std::uint8_t option;
    bool operator==(const Negotiation&) const = default;
};

namespace option {
inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kEcho = 1;
inline constexpr std::uint8_t kSuppressGoAhead = 3;
inline constexpr std::uint8_t kComPort = 44;  // RFC 2217 serial port control
}  // namespace option

}  // namespace platform::telnet
