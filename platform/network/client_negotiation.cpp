#include "platform/network/client_negotiation.h"

namespace platform::telnet {

namespace {

// Echo is refused: the server would send the client's own bytes back among the device's.
bool Agreeable(std::uint8_t option) {
    return option == option::kBinary || option == option::kSuppressGoAhead ||
           option == option::kComPort;
}

}  // namespace

std::vector<Negotiation> ClientNegotiation::OpeningRequests() {
    std::vector<Negotiation> requests;
    const auto request = [&](State& state, Verb verb, std::uint8_t option) {
        if (state != State::kNo) return;
        state = State::kRequested;
        requests.push_back({verb, option});
    };
    request(client_[option::kBinary], Verb::kWill, option::kBinary);
    request(server_[option::kBinary], Verb::kDo, option::kBinary);
    request(client_[option::kComPort], Verb::kWill, option::kComPort);
    return requests;
}

std::optional<Negotiation> ClientNegotiation::Answer(Negotiation fromServer) {
    const std::uint8_t option = fromServer.option;
    std::optional<Verb> reply;
    switch (fromServer.verb) {
        case Verb::kWill:
        case Verb::kWont:
            reply = Receive(server_[option], fromServer.verb == Verb::kWill, Agreeable(option),
                            Verb::kDo, Verb::kDont);
            break;
        case Verb::kDo:
        case Verb::kDont:
            reply = Receive(client_[option], fromServer.verb == Verb::kDo, Agreeable(option),
                            Verb::kWill, Verb::kWont);
            break;
    }
    if (!reply) return std::nullopt;
    return Negotiation{*reply, option};
}

bool ClientNegotiation::ServerUses(std::uint8_t option) const {
    return server_[option] == State::kYes;
}

bool ClientNegotiation::ClientUses(std::uint8_t option) const {
    return client_[option] == State::kYes;
}

std::optional<Verb> ClientNegotiation::Receive(State& state, bool enable, bool agreeable, Verb yes,
                                               Verb no) {
    if (enable) {
        if (state == State::kRequested) {
            // The answer to the client's own request: answering it in turn would start a loop.
            state = State::kYes;
            return std::nullopt;
        }
        // A side in use needs no answer, nor one refused before.
        if (state != State::kNo) return std::nullopt;
        state = agreeable ? State::kYes : State::kRefused;
        return agreeable ? yes : no;
    }
    // A side in use that is turned off is acknowledged; one that is off already needs no answer.
    const bool wasInUse = state == State::kYes;
    if (state != State::kRefused) state = State::kNo;
    if (wasInUse) return no;
    return std::nullopt;
}

}  // namespace platform::telnet
