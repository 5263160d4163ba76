// What a Telnet decoder hands out, recorded as pieces in stream order. Neighbouring data runs are
// joined, so that the record does not depend on how the stream was split into reads.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/network/telnet_decoder.h"
#include "tests/platform/network/wire_bytes.h"

namespace qdax_test {

struct SubNegotiationPiece {
    std::uint8_t option;
    std::string payload;
    bool operator==(const SubNegotiationPiece&) const = default;
};

// Data bytes, a negotiation or a sub-negotiation.
using StreamPiece = std::variant<std::string, platform::telnet::Negotiation, SubNegotiationPiece>;

class RecordedStream : public platform::telnet::DecodedStream {
public:
    void OnData(std::span<const std::uint8_t> bytes) override {
        if (bytes.empty()) emptyDataRuns++;
        if (pieces.empty() || !std::holds_alternative<std::string>(pieces.back())) {
            pieces.emplace_back(std::string());
        }
        std::get<std::string>(pieces.back()) += Text(bytes);
    }
    void OnNegotiation(platform::telnet::Negotiation negotiation) override {
        pieces.emplace_back(negotiation);
    }
    void OnSubNegotiation(std::uint8_t option, std::span<const std::uint8_t> payload) override {
        pieces.emplace_back(SubNegotiationPiece{option, Text(payload)});
    }

    std::vector<StreamPiece> pieces;
    int emptyDataRuns = 0;
};

}  // namespace qdax_test
