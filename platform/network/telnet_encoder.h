// What a Telnet client sends: data with 0xFF doubled, negotiations and sub-negotiations, each
// command as one piece so that it can go out in one write.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/network/telnet.h"

namespace platform::telnet {

using Bytes = std::vector<std::uint8_t>;

Bytes EncodeData(std::span<const std::uint8_t> data);

Bytes EncodeNegotiation(Negotiation negotiation);

// The payload's 0xFF bytes are doubled; the option byte is sent as it is.
Bytes EncodeSubNegotiation(std::uint8_t option, std::span<const std::uint8_t> payload);

}  // namespace platform::telnet
