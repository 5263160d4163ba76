// Feeds random Telnet streams, cut into reads at random places, through the decoder and compares
// what it hands out with the stream model: every data byte once and in order, and every
// negotiation and sub-negotiation intact in its place. Checks that the encoder writes each piece
// as the model does, and that the client's negotiation answers no request twice.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/network/client_negotiation.h"
#include "platform/network/telnet_decoder.h"
#include "platform/network/telnet_encoder.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/telnet_stream_model.h"
#include "tests/platform/network/recorded_stream.h"
#include "tests/platform/network/wire_bytes.h"

namespace {

using platform::telnet::Negotiation;
using platform::telnet::Verb;
using qdax_fuzz::Check;

bool AsksToEnable(Verb verb) {
    return verb == Verb::kWill || verb == Verb::kDo;
}
bool ConcernsServersSide(Verb verb) {
    return verb == Verb::kWill || verb == Verb::kWont;
}

void CheckEncoding(const qdax_fuzz::TelnetStream& stream) {
    for (const qdax_fuzz::EncodedPiece& piece : stream.encoded) {
        const auto content = qdax_test::View(piece.content);
        const platform::telnet::Bytes wire =
            piece.isData ? platform::telnet::EncodeData(content)
                         : platform::telnet::EncodeSubNegotiation(piece.option, content);
        Check(qdax_test::Text(wire) == piece.wire, "the encoder writes each piece as the model");
    }
}

void CheckAnswers(const std::vector<qdax_test::StreamPiece>& pieces) {
    platform::telnet::ClientNegotiation client;
    for (const qdax_test::StreamPiece& piece : pieces) {
        const auto* request = std::get_if<Negotiation>(&piece);
        if (request == nullptr) continue;
        const std::optional<Negotiation> answer = client.Answer(*request);
        Check(!client.Answer(*request), "a request repeated at once is not answered again");
        if (!answer) continue;
        Check(answer->option == request->option, "an answer concerns the option asked about");
        Check(ConcernsServersSide(request->verb) != ConcernsServersSide(answer->verb),
              "a WILL or WONT is answered by DO or DONT, and the other way round");
        Check(AsksToEnable(request->verb) || !AsksToEnable(answer->verb),
              "an option turned off is never answered by turning it on");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using platform::telnet::Decoder;
    const qdax_fuzz::TelnetStream stream =
        qdax_fuzz::BuildTelnetStream(data, size, Decoder::kMaxSubNegotiationPayload);

    Decoder decoder;
    qdax_test::RecordedStream recorded;
    const auto wire = qdax_test::View(stream.wire);
    std::size_t from = 0;
    for (const std::size_t cut : stream.cuts) {
        decoder.Feed(wire.subspan(from, cut - from), recorded);
        from = cut;
    }
    decoder.Feed(wire.subspan(from), recorded);

    Check(recorded.emptyDataRuns == 0, "no empty data run is handed out");
    Check(recorded.pieces == stream.expected,
          "data bytes once each in order, negotiations and sub-negotiations intact in place");
    CheckEncoding(stream);
    CheckAnswers(stream.expected);
    return 0;
}
