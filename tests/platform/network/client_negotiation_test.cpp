// The client's answers to a serial server's option negotiation: what it agrees to, what it
// refuses, and that no request is answered twice.
#include "platform/network/client_negotiation.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using platform::telnet::ClientNegotiation;
using platform::telnet::Negotiation;
using platform::telnet::Verb;
namespace option = platform::telnet::option;

struct Exchange {
    Negotiation fromServer;
    std::optional<Negotiation> answer;
};

void ExpectAnswers(ClientNegotiation& client, const std::vector<Exchange>& exchanges) {
    for (std::size_t i = 0; i < exchanges.size(); ++i) {
        EXPECT_EQ(client.Answer(exchanges[i].fromServer), exchanges[i].answer) << "exchange " << i;
    }
}

const Negotiation kWillSga{Verb::kWill, option::kSuppressGoAhead};
const Negotiation kDoSga{Verb::kDo, option::kSuppressGoAhead};
const Negotiation kWillEcho{Verb::kWill, option::kEcho};
const Negotiation kDontEcho{Verb::kDont, option::kEcho};
const Negotiation kDoBinary{Verb::kDo, option::kBinary};
const Negotiation kWillBinary{Verb::kWill, option::kBinary};
const Negotiation kDoComPort{Verb::kDo, option::kComPort};

TEST(ClientNegotiation, Ser2netsOpeningAfterTheClientsRequests) {
    ClientNegotiation client;
    EXPECT_EQ(client.OpeningRequests(),
              (std::vector<Negotiation>{{Verb::kWill, option::kBinary},
                                        {Verb::kDo, option::kBinary},
                                        {Verb::kWill, option::kComPort}}));
    ExpectAnswers(client, {{kWillSga, kDoSga},
                           {kDoSga, kWillSga},
                           {kWillEcho, kDontEcho},
                           {kDontEcho, std::nullopt},
                           {kDoBinary, std::nullopt},
                           {kWillBinary, std::nullopt},
                           {kDoComPort, std::nullopt}});
    EXPECT_TRUE(client.ClientUses(option::kBinary));
    EXPECT_TRUE(client.ServerUses(option::kBinary));
    EXPECT_TRUE(client.ClientUses(option::kComPort));
    EXPECT_TRUE(client.ServerUses(option::kSuppressGoAhead));
    EXPECT_FALSE(client.ServerUses(option::kEcho));
    EXPECT_TRUE(client.OpeningRequests().empty());
}

TEST(ClientNegotiation, Ser2netsOpeningBeforeTheClientsRequests) {
    ClientNegotiation client;
    ExpectAnswers(client, {{kWillSga, kDoSga},
                           {kDoSga, kWillSga},
                           {kWillEcho, kDontEcho},
                           {kDontEcho, std::nullopt},
                           {kDoBinary, kWillBinary},
                           {kWillBinary, kDoBinary},
                           {kDoComPort, Negotiation{Verb::kWill, option::kComPort}},
                           {kDoComPort, std::nullopt},
                           {kWillBinary, std::nullopt}});
    EXPECT_TRUE(client.OpeningRequests().empty());
}

// A server that asks again after a refusal is not answered again, so the two never loop.
TEST(ClientNegotiation, UnknownOptionsAndEchoAreRefusedOnce) {
    for (const int unknown : {int{option::kEcho}, 5, 24, 31, 200, 255}) {
        const auto opt = static_cast<std::uint8_t>(unknown);
        ClientNegotiation client;
        ExpectAnswers(client, {{{Verb::kWill, opt}, Negotiation{Verb::kDont, opt}},
                               {{Verb::kWill, opt}, std::nullopt},
                               {{Verb::kWont, opt}, std::nullopt},
                               {{Verb::kDo, opt}, Negotiation{Verb::kWont, opt}},
                               {{Verb::kDo, opt}, std::nullopt},
                               {{Verb::kDont, opt}, std::nullopt}});
        EXPECT_FALSE(client.ServerUses(opt)) << unknown;
        EXPECT_FALSE(client.ClientUses(opt)) << unknown;
    }
}

TEST(ClientNegotiation, AnOptionTurnedOffIsAcknowledgedOnce) {
    ClientNegotiation client;
    ExpectAnswers(client,
                  {{kDoBinary, kWillBinary},
                   {{Verb::kDont, option::kBinary}, Negotiation{Verb::kWont, option::kBinary}},
                   {{Verb::kDont, option::kBinary}, std::nullopt},
                   {kWillSga, kDoSga},
                   {{Verb::kWont, option::kSuppressGoAhead},
                    Negotiation{Verb::kDont, option::kSuppressGoAhead}},
                   {{Verb::kWont, option::kSuppressGoAhead}, std::nullopt}});
    EXPECT_FALSE(client.ClientUses(option::kBinary));
    EXPECT_FALSE(client.ServerUses(option::kSuppressGoAhead));
}

// A server without serial port control refuses the request; one that offers it later still gets it.
TEST(ClientNegotiation, ARefusedRequestNeedsNoAnswerAndMayBeOfferedLater) {
    ClientNegotiation client;
    client.OpeningRequests();
    ExpectAnswers(client, {{{Verb::kDont, option::kComPort}, std::nullopt},
                           {{Verb::kWont, option::kBinary}, std::nullopt}});
    EXPECT_FALSE(client.ClientUses(option::kComPort));
    EXPECT_FALSE(client.ServerUses(option::kBinary));
    ExpectAnswers(client, {{kDoComPort, Negotiation{Verb::kWill, option::kComPort}}});
    EXPECT_TRUE(client.ClientUses(option::kComPort));
}

}  // namespace
