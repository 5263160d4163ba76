#include "platform/network/telnet_decoder.h"

namespace platform::telnet {

void Decoder::Feed(std::span<const std::uint8_t> chunk, DecodedStream& out) {
    // Data runs go out as slices of the chunk, cut at each IAC.
    std::size_t runStart = 0;
    const auto emitRun = [&](std::size_t end) {
        if (end > runStart) out.OnData(chunk.subspan(runStart, end - runStart));
    };
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        const std::uint8_t byte = chunk[i];
        // Outside data, the next run can only begin after this byte.
        if (state_ != State::kData) runStart = i + 1;
        switch (state_) {
            case State::kData:
                if (byte == kIac) {
                    emitRun(i);
                    state_ = State::kCommand;
                }
                break;
            case State::kCommand:
                if (byte == kIac) {
                    // The second IAC of a pair is itself the data byte 0xFF.
                    state_ = State::kData;
                    runStart = i;
                } else {
                    Command(byte);
                }
                break;
            case State::kOption:
                out.OnNegotiation({verb_, byte});
                state_ = State::kData;
                break;
            case State::kSubOption:
                subOption_ = byte;
                payloadLength_ = 0;
                payloadOverflowed_ = false;
                state_ = State::kSubPayload;
                break;
            case State::kSubPayload:
                if (byte == kIac) {
                    state_ = State::kSubCommand;
                } else {
                    AddToPayload(byte);
                }
                break;
            case State::kSubCommand:
                CommandInSubNegotiation(byte, out);
                break;
        }
    }
    if (state_ == State::kData) emitRun(chunk.size());
}

void Decoder::Command(std::uint8_t command) {
    if (IsVerb(command)) {
        verb_ = static_cast<Verb>(command);
        state_ = State::kOption;
    } else if (command == kSubNegotiationBegin) {
        state_ = State::kSubOption;
    } else {
        // NOP, GA, DM, a stray SE and the rest mean nothing to a serial byte stream.
        state_ = State::kData;
    }
}

void Decoder::CommandInSubNegotiation(std::uint8_t command, DecodedStream& out) {
    if (command == kIac) {
        AddToPayload(kIac);
        state_ = State::kSubPayload;
    } else if (command == kSubNegotiationEnd) {
        if (!payloadOverflowed_) {
            out.OnSubNegotiation(subOption_, std::span(payload_.data(), payloadLength_));
        }
        state_ = State::kData;
    } else {
        // Any other command means the SE was lost: the partial sub-negotiation is dropped and
        // the command taken as such, so that the data after it is not swallowed.
        Command(command);
    }
}

void Decoder::AddToPayload(std::uint8_t byte) {
    if (payloadLength_ == payload_.size()) {
        payloadOverflowed_ = true;
        return;
    }
    payload_[payloadLength_++] = byte;
}

}  // namespace platform::telnet
