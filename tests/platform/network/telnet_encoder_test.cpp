// What the client puts on the wire: data with 0xFF doubled, negotiations, and the RFC 2217
// commands that set up the server's port; and the server's replies to them read back.
#include "platform/network/telnet_encoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/network/rfc2217_commands.h"
#include "platform/network/telnet_decoder.h"
#include "tests/platform/network/recorded_stream.h"
#include "tests/platform/network/wire_bytes.h"

namespace {

using namespace qdax_test;
namespace telnet = platform::telnet;
namespace rfc2217 = platform::rfc2217;

struct DataCase {
    std::string data;
    std::string wire;
};

TEST(TelnetEncoder, DataHasEvery0xFFDoubled) {
    const std::vector<DataCase> cases = {
        {"", ""},
        {"plain\r\n", "plain\r\n"},
        {Bytes({0xFF}), Bytes({kIac, kIac})},
        {"a" + Bytes({0xFF, 0xFF}) + "b", "a" + Bytes({kIac, kIac, kIac, kIac}) + "b"},
        {Bytes({0xFE, 0xFF, 0}), Bytes({0xFE, kIac, kIac, 0})},
    };
    for (const DataCase& c : cases) {
        EXPECT_EQ(Text(telnet::EncodeData(View(c.data))), c.wire);
    }
}

TEST(TelnetEncoder, EveryByteValueComesBackThroughTheDecoder) {
    std::string every;
    for (int byte = 0; byte < 256; ++byte) every += static_cast<char>(byte);
    const telnet::Bytes wire = telnet::EncodeData(View(every));
    EXPECT_EQ(wire.size(), 257u);
    telnet::Decoder decoder;
    RecordedStream recorded;
    decoder.Feed(wire, recorded);
    ASSERT_EQ(recorded.pieces.size(), 1u);
    EXPECT_EQ(std::get<std::string>(recorded.pieces[0]), every);
}

TEST(TelnetEncoder, Negotiation) {
    EXPECT_EQ(Text(telnet::EncodeNegotiation({telnet::Verb::kWill, kComPort})),
              Bytes({kIac, kWill, kComPort}));
    EXPECT_EQ(Text(telnet::EncodeNegotiation({telnet::Verb::kDont, 1})), Bytes({kIac, kDont, 1}));
}

struct CommandCase {
    const char* title;
    telnet::Bytes wire;
    std::string expected;
};

std::string ComPort(std::initializer_list<int> payload) {
    return Bytes({kIac, kSb, kComPort}) + Bytes(payload) + Bytes({kIac, kSe});
}

TEST(Rfc2217Commands, EachIsOneSubNegotiationWith0xFFDoubled) {
    const std::vector<CommandCase> cases = {
        {"9600 baud", rfc2217::EncodeSetBaudRate(9600), ComPort({1, 0, 0, 0x25, 0x80})},
        {"a rate with 0xFF bytes", rfc2217::EncodeSetBaudRate(0xFF00FF),
         ComPort({1, 0, kIac, kIac, 0, kIac, kIac})},
        {"8 data bits", rfc2217::EncodeSetDataSize(8), ComPort({2, 8})},
        {"no parity", rfc2217::EncodeSetParity(rfc2217::Parity::kNone), ComPort({3, 1})},
        {"one stop bit", rfc2217::EncodeSetStopSize(rfc2217::StopSize::kOne), ComPort({4, 1})},
        {"DTR on", rfc2217::EncodeSetControl(rfc2217::Control::kDtrOn), ComPort({5, 8})},
        {"purge the receive buffer", rfc2217::EncodePurgeData(rfc2217::Purge::kReceiveBuffer),
         ComPort({12, 1})},
    };
    for (const CommandCase& c : cases) EXPECT_EQ(Text(c.wire), c.expected) << c.title;
}

struct ReplyCase {
    const char* title;
    std::string wire;
    std::optional<rfc2217::Command> command;
    std::optional<std::uint32_t> baudRate;
};

// The server's replies are read from the decoder's sub-negotiations, fed one byte at a time.
TEST(Rfc2217Commands, ServerRepliesReadBack) {
    const std::vector<ReplyCase> cases = {
        {"19200 baud", ComPort({101, 0, 0, 0x4B, 0}), rfc2217::Command::kSetBaudRate, 19200},
        {"a rate with 0xFF bytes", ComPort({101, 0, kIac, kIac, 0, kIac, kIac}),
         rfc2217::Command::kSetBaudRate, 0xFF00FF},
        {"a rate too short", ComPort({101, 0, 0x4B, 0}), rfc2217::Command::kSetBaudRate,
         std::nullopt},
        {"8 data bits", ComPort({102, 8}), rfc2217::Command::kSetDataSize, std::nullopt},
        {"purged", ComPort({112, 1}), rfc2217::Command::kPurgeData, std::nullopt},
        {"a client's command, not a reply", ComPort({1, 0, 0, 0x4B, 0}), std::nullopt,
         std::nullopt},
        {"another option", Bytes({kIac, kSb, 24, 101, 0, 0, 0x4B, 0, kIac, kSe}), std::nullopt,
         std::nullopt},
        {"nothing in it", ComPort({}), std::nullopt, std::nullopt},
    };
    for (const ReplyCase& c : cases) {
        telnet::Decoder decoder;
        RecordedStream recorded;
        for (std::size_t at = 0; at < c.wire.size(); ++at) {
            decoder.Feed(View(c.wire).subspan(at, 1), recorded);
        }
        ASSERT_EQ(recorded.pieces.size(), 1u) << c.title;
        const auto& sub = std::get<SubNegotiationPiece>(recorded.pieces[0]);
        const auto reply = rfc2217::ReadServerReply(sub.option, View(sub.payload));
        EXPECT_EQ(reply ? std::optional(reply->command) : std::nullopt, c.command) << c.title;
        EXPECT_EQ(reply ? rfc2217::ReplyBaudRate(*reply) : std::nullopt, c.baudRate) << c.title;
    }
}

}  // namespace
