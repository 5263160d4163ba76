#include "tests/fuzz/telnet_stream_model.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

namespace qdax_fuzz {

namespace {

using platform::telnet::Negotiation;
using platform::telnet::Verb;
using qdax_test::StreamPiece;
using qdax_test::SubNegotiationPiece;

constexpr char kIac = '\xFF';
constexpr char kSubBegin = '\xFA';
constexpr char kSubEnd = '\xF0';
constexpr char kNop = '\xF1';

std::string Doubled(const std::string& bytes) {
    std::string wire;
    for (const char c : bytes) {
        wire += c;
        if (c == kIac) wire += kIac;
    }
    return wire;
}

class StreamBuilder {
public:
    StreamBuilder(const std::uint8_t* data, std::size_t size, std::size_t maxPayload)
        : input_(data, size), maxPayload_(maxPayload) {}

    TelnetStream Build() {
        while (input_.remaining_bytes() > 0) {
            const auto kind = input_.ConsumeIntegralInRange<int>(0, 5);
            const auto cut = input_.ConsumeIntegral<std::uint8_t>();
            const std::size_t start = stream_.wire.size();
            AddPiece(kind);
            // A read may end anywhere in the piece or after it, or the piece may run on.
            if (cut != 0)
                stream_.cuts.push_back(start + (cut - 1) % (stream_.wire.size() - start + 1));
        }
        std::sort(stream_.cuts.begin(), stream_.cuts.end());
        return std::move(stream_);
    }

private:
    void AddPiece(int kind) {
        switch (kind) {
            case 0:
            case 1:
                AddData(input_.ConsumeBytesAsString(input_.ConsumeIntegral<std::uint8_t>()));
                break;
            case 2:
                AddNegotiation();
                break;
            case 3:
                AddSubNegotiation();
                break;
            case 4:
                stream_.wire += {kIac, OtherCommand()};
                break;
            case 5:
                AddCutShortSubNegotiation();
                break;
        }
    }

    void AddData(const std::string& bytes) {
        if (bytes.empty()) return;
        const std::string wire = Doubled(bytes);
        stream_.wire += wire;
        stream_.encoded.push_back({true, 0, bytes, wire});
        if (stream_.expected.empty() ||
            !std::holds_alternative<std::string>(stream_.expected.back())) {
            stream_.expected.emplace_back(std::string());
        }
        std::get<std::string>(stream_.expected.back()) += bytes;
    }

    void AddNegotiation() {
        const Negotiation negotiation{
            static_cast<Verb>(input_.ConsumeIntegralInRange<int>(251, 254)),
            input_.ConsumeIntegral<std::uint8_t>()};
        stream_.wire +=
            {kIac, static_cast<char>(negotiation.verb), static_cast<char>(negotiation.option)};
        stream_.expected.emplace_back(negotiation);
    }

    // A payload up to twice the limit; what the input lacks is made up of 0xFF bytes.
    std::string Payload() {
        const auto length = input_.ConsumeIntegralInRange<std::size_t>(0, 2 * maxPayload_ + 1);
        std::string payload = input_.ConsumeBytesAsString(length);
        payload.resize(length, kIac);
        return payload;
    }

    void AddSubNegotiation() {
        const auto option = input_.ConsumeIntegral<std::uint8_t>();
        const std::string payload = Payload();
        const std::string wire = std::string{kIac, kSubBegin, static_cast<char>(option)} +
                                 Doubled(payload) + kIac + kSubEnd;
        stream_.wire += wire;
        stream_.encoded.push_back({false, option, payload, wire});
        if (payload.size() <= maxPayload_) {
            stream_.expected.emplace_back(SubNegotiationPiece{option, payload});
        }
    }

    // The SE is lost: the sub-negotiation is dropped, the command that ends it taken as such.
    void AddCutShortSubNegotiation() {
        const auto option = input_.ConsumeIntegral<std::uint8_t>();
        stream_.wire +=
            std::string{kIac, kSubBegin, static_cast<char>(option)} + Doubled(Payload());
        if (input_.ConsumeBool()) {
            AddNegotiation();
        } else {
            stream_.wire += {kIac, OtherCommand()};
        }
    }

    // A command byte that neither negotiates, nor begins or ends a sub-negotiation, nor is 0xFF.
    char OtherCommand() {
        const auto command = static_cast<char>(input_.ConsumeIntegral<std::uint8_t>());
        if (command == kSubEnd || static_cast<std::uint8_t>(command) >= 0xFA) return kNop;
        return command;
    }

    FuzzedDataProvider input_;
    std::size_t maxPayload_;
    TelnetStream stream_;
};

}  // namespace

TelnetStream BuildTelnetStream(const std::uint8_t* data, std::size_t size, std::size_t maxPayload) {
    return StreamBuilder(data, size, maxPayload).Build();
}

}  // namespace qdax_fuzz
