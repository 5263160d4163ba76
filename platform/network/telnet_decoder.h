// Splits the byte stream a Telnet server sends into data and commands. Reads may end anywhere,
// inside a command or a sub-negotiation: the decoder keeps its place between feeds, and every data
// byte comes out once, in order, whatever the split. Line ends pass as they are (no NVT handling).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/network/telnet.h"

namespace platform::telnet {

// Receives what a feed decodes, in the order it stood in the stream.
class DecodedStream {
public:
    virtual ~DecodedStream() = default;
    // A run of data bytes, 0xFF undoubled; valid during the call only.
    virtual void OnData(std::span<const std::uint8_t> bytes) = 0;
    virtual void OnNegotiation(Negotiation negotiation) = 0;
    // A complete sub-negotiation's payload, 0xFF undoubled; valid during the call only.
    virtual void OnSubNegotiation(std::uint8_t option, std::span<const std::uint8_t> payload) = 0;
};

class Decoder {
public:
    // A longer sub-negotiation is dropped whole rather than held: no server's reply is this long.
    static constexpr std::size_t kMaxSubNegotiationPayload = 256;

    void Feed(std::span<const std::uint8_t> chunk, DecodedStream& out);

private:
    enum class State : std::uint8_t {
        kData,
        kCommand,    // after IAC
        kOption,     // after IAC and a verb
        kSubOption,  // after IAC SB
        kSubPayload,
        kSubCommand,  // after IAC inside a sub-negotiation
    };

    // The byte after IAC in data, or in place of SE in an abandoned sub-negotiation.
    void Command(std::uint8_t command);
    // The byte after IAC inside a sub-negotiation.
    void CommandInSubNegotiation(std::uint8_t command, DecodedStream& out);
    void AddToPayload(std::uint8_t byte);

    State state_ = State::kData;
    Verb verb_ = Verb::kWill;
    std::uint8_t subOption_ = 0;
    std::array<std::uint8_t, kMaxSubNegotiationPayload> payload_{};
    std::size_t payloadLength_ = 0;
    bool payloadOverflowed_ = false;
};

}  // namespace platform::telnet
