// The decoder against streams a serial server sends, each fed whole, byte by byte and split in
// two at every point: the outcome never depends on where the reads end.
#include "platform/network/telnet_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/platform/network/recorded_stream.h"
#include "tests/platform/network/wire_bytes.h"

namespace {

using platform::telnet::Decoder;
using platform::telnet::Negotiation;
using platform::telnet::Verb;

using namespace qdax_test;

std::string Describe(const std::vector<StreamPiece>& pieces) {
    std::string text;
    const auto hex = [](const std::string& bytes) {
        std::string out;
        for (const char c : bytes) {
            char digits[4];
            std::snprintf(digits, sizeof digits, " %02X", static_cast<unsigned char>(c));
            out += digits;
        }
        return out;
    };
    for (const StreamPiece& piece : pieces) {
        if (const auto* data = std::get_if<std::string>(&piece)) {
            text += "data" + hex(*data) + "; ";
        } else if (const auto* negotiation = std::get_if<Negotiation>(&piece)) {
            text += "verb " + std::to_string(static_cast<int>(negotiation->verb)) + " option " +
                    std::to_string(negotiation->option) + "; ";
        } else {
            const auto& sub = std::get<SubNegotiationPiece>(piece);
            text += "sub " + std::to_string(sub.option) + hex(sub.payload) + "; ";
        }
    }
    return text;
}

// Feeds the stream in reads that end at the given offsets, then at its end.
std::vector<StreamPiece> Decode(const std::string& wire, const std::vector<std::size_t>& cuts) {
    Decoder decoder;
    RecordedStream recorded;
    std::size_t from = 0;
    for (const std::size_t cut : cuts) {
        decoder.Feed(View(wire).subspan(from, cut - from), recorded);
        from = cut;
    }
    decoder.Feed(View(wire).subspan(from), recorded);
    EXPECT_EQ(recorded.emptyDataRuns, 0);
    return recorded.pieces;
}

struct StreamCase {
    const char* title;
    std::string wire;
    std::vector<StreamPiece> expected;
    friend void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.title; }
};

const std::string kTooLong(Decoder::kMaxSubNegotiationPayload + 1, 'x');
const std::string kLongest(Decoder::kMaxSubNegotiationPayload - 1, '\xFF');

const std::vector<StreamCase> kStreams = {
    {"line ends pass as they are", "A\r" + Bytes({0}) + "B\rC\n", {"A\r" + Bytes({0}) + "B\rC\n"}},
    {"doubled 0xFF is one data byte",
     Bytes({1, kIac, kIac, 2, kIac, kIac, kIac, kIac}),
     {Bytes({1, 0xFF, 2, 0xFF, 0xFF})}},
    {"negotiation between data",
     "a" + Bytes({kIac, kWill, 3}) + "b",
     {"a", Negotiation{Verb::kWill, 3}, "b"}},
    {"ser2net's opening",
     Bytes({kIac, kWill, 3,   kIac, kDo,  3,     kIac, kWill, 1,   kIac,    kDont,
            1,    kIac,  kDo, 0,    kIac, kWill, 0,    kIac,  kDo, kComPort}),
     {Negotiation{Verb::kWill, 3}, Negotiation{Verb::kDo, 3}, Negotiation{Verb::kWill, 1},
      Negotiation{Verb::kDont, 1}, Negotiation{Verb::kDo, 0}, Negotiation{Verb::kWill, 0},
      Negotiation{Verb::kDo, kComPort}}},
    {"sub-negotiation between data bytes",
     "x" + Bytes({kIac, kSb, kComPort, 101, 0, 0, 0x4B, 0, kIac, kSe}) + "y",
     {"x", SubNegotiationPiece{kComPort, Bytes({101, 0, 0, 0x4B, 0})}, "y"}},
    {"doubled 0xFF inside a sub-negotiation",
     Bytes({kIac, kSb, kComPort, 101, 0, 0, kIac, kIac, kIac, kIac, kIac, kSe, 0xFE}),
     {SubNegotiationPiece{kComPort, Bytes({101, 0, 0, 0xFF, 0xFF})}, Bytes({0xFE})}},
    {"empty sub-negotiation", Bytes({kIac, kSb, 24, kIac, kSe}), {SubNegotiationPiece{24, ""}}},
    {"other commands are ignored",
     "a" + Bytes({kIac, kNop}) + "b" + Bytes({kIac, kGa, kIac, kDm, kIac, kSe}) + "c",
     {"abc"}},
    {"a sub-negotiation cut short by a negotiation",
     Bytes({kIac, kSb, kComPort, 1, 2, kIac, kWill, 3}) + "z",
     {Negotiation{Verb::kWill, 3}, "z"}},
    {"a sub-negotiation cut short by another command",
     "a" + Bytes({kIac, kSb, kComPort, 1, kIac, kNop}) + "z",
     {"az"}},
    {"the longest sub-negotiation",
     Bytes({kIac, kSb, kComPort, 106}) + std::string(kLongest.size() * 2, '\xFF') +
         Bytes({kIac, kSe}) + "d",
     {SubNegotiationPiece{kComPort, Bytes({106}) + kLongest}, "d"}},
    {"an over-long sub-negotiation is dropped, the data after it kept",
     "c" + Bytes({kIac, kSb, kComPort}) + kTooLong + Bytes({kIac, kSe}) + "d" +
         Bytes({kIac, kWill, 0}),
     {"cd", Negotiation{Verb::kWill, 0}}},
    {"a sub-negotiation after an over-long one",
     Bytes({kIac, kSb, kComPort}) + kTooLong + Bytes({kIac, kSe, kIac, kSb, kComPort, 112, 1}) +
         Bytes({kIac, kSe}),
     {SubNegotiationPiece{kComPort, Bytes({112, 1})}}},
};

class DecoderStreams : public testing::TestWithParam<StreamCase> {};

TEST_P(DecoderStreams, WholeStream) {
    EXPECT_EQ(Describe(Decode(GetParam().wire, {})), Describe(GetParam().expected));
}

TEST_P(DecoderStreams, ByteByByte) {
    std::vector<std::size_t> cuts;
    for (std::size_t at = 1; at < GetParam().wire.size(); ++at) cuts.push_back(at);
    EXPECT_EQ(Describe(Decode(GetParam().wire, cuts)), Describe(GetParam().expected));
}

TEST_P(DecoderStreams, SplitInTwoAnywhere) {
    const std::string expected = Describe(GetParam().expected);
    for (std::size_t at = 0; at <= GetParam().wire.size(); ++at) {
        EXPECT_EQ(Describe(Decode(GetParam().wire, {at})), expected) << "split at " << at;
    }
}

INSTANTIATE_TEST_SUITE_P(Telnet, DecoderStreams, testing::ValuesIn(kStreams));

// The data before an IAC that ends a read is handed out at once, not held for the next read.
TEST(Decoder, DataBeforeAnIacAtAReadsEndIsNotHeldBack) {
    Decoder decoder;
    RecordedStream recorded;
    const std::string first = "ab" + Bytes({kIac});
    const std::string second = Bytes({kIac}) + "c";
    decoder.Feed(View(first), recorded);
    EXPECT_EQ(Describe(recorded.pieces), Describe({"ab"}));
    decoder.Feed(View(second), recorded);
    EXPECT_EQ(Describe(recorded.pieces), Describe({"ab" + Bytes({0xFF}) + "c"}));
}

}  // namespace
