#include "platform/network/telnet_encoder.h"

namespace platform::telnet {

namespace {

void AppendDoubled(std::span<const std::uint8_t> bytes, Bytes& wire) {
    for (const std::uint8_t byte : bytes) {
        wire.push_back(byte);
        if (byte == kIac) wire.push_back(kIac);
    }
}

}  // namespace

Bytes EncodeData(std::span<const std::uint8_t> data) {
    Bytes wire;
    wire.reserve(data.size());
    AppendDoubled(data, wire);
    return wire;
}

Bytes EncodeNegotiation(Negotiation negotiation) {
    return {kIac, static_cast<std::uint8_t>(negotiation.verb), negotiation.option};
}

Bytes EncodeSubNegotiation(std::uint8_t option, std::span<const std::uint8_t> payload) {
    Bytes wire{kIac, kSubNegotiationBegin, option};
    AppendDoubled(payload, wire);
    wire.push_back(kIac);
    wire.push_back(kSubNegotiationEnd);
    return wire;
}

}  // namespace platform::telnet
