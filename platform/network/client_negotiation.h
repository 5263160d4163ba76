// The client's side of Telnet option negotiation with a serial server: binary data both ways,
// suppressed go-ahead and serial port control are agreed to, echo and every other option refused.
// Each option keeps its state on both sides (RFC 1143, without the queue: this client never turns
// an option off), so no request is answered twice and no two parties answer each other forever;
// an option refused once is not answered again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/network/telnet.h"

namespace platform::telnet {

class ClientNegotiation {
public:
    // What the client asks for on connecting: binary both ways and serial port control. Asks
    // only for what is not yet agreed.
    std::vector<Negotiation> OpeningRequests();

    // The reply due to the server's negotiation, if any.
    std::optional<Negotiation> Answer(Negotiation fromServer);

    // Whether the server uses the option (its WILL was agreed to).
    bool ServerUses(std::uint8_t option) const;
    // Whether the client uses the option (the server's DO was agreed to).
    bool ClientUses(std::uint8_t option) const;

private:
    enum class State : std::uint8_t { kNo, kRequested, kYes, kRefused };
    using States = std::array<State, 256>;

    // One side of an option: `enable` is WILL for the server's side and DO for the client's.
    static std::optional<Verb> Receive(State& state, bool enable, bool agreeable, Verb yes,
                                       Verb no);

    States server_{};
    States client_{};
};

}  // namespace platform::telnet
