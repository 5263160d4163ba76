// A Telnet server's stream built from pieces (data, negotiations, sub-negotiations, other
// commands, sub-negotiations cut short by a command) and cut into reads at random places, with
// what a decoder should hand out for it: the data bytes once each and in order, the negotiations,
// and each sub-negotiation no longer than the limit with its payload as sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/platform/network/recorded_stream.h"

namespace qdax_fuzz {

// A piece the client's encoder must put on the wire exactly as the model does.
struct EncodedPiece {
    bool isData;          // data, or else a complete sub-negotiation
    std::uint8_t option;  // of a sub-negotiation
    std::string content;  // the data or the payload, 0xFF not doubled
    std::string wire;
};

struct TelnetStream {
    std::string wire;
    std::vector<std::size_t> cuts;  // ascending offsets into `wire` where a read ends
    std::vector<qdax_test::StreamPiece> expected;
    std::vector<EncodedPiece> encoded;
};

// Builds a stream from fuzzer input; sub-negotiations longer than `maxPayload` are to be dropped.
TelnetStream BuildTelnetStream(const std::uint8_t* data, std::size_t size, std::size_t maxPayload);

}  // namespace qdax_fuzz
