// The RFC 2217 commands a client sends to set up a server's serial port, and the server's replies
// read back from a COM-PORT-OPTION sub-negotiation.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/network/rfc2217.h"
#include "platform/network/telnet_encoder.h"

namespace platform::rfc2217 {

telnet::Bytes EncodeSetBaudRate(std::uint32_t baudRate);
telnet::Bytes EncodeSetDataSize(std::uint8_t dataBits);
telnet::Bytes EncodeSetParity(Parity parity);
telnet::Bytes EncodeSetStopSize(StopSize stopSize);
telnet::Bytes EncodeSetControl(Control control);
telnet::Bytes EncodePurgeData(Purge purge);

// A server's reply, its command numbered as the client's command it answers.
struct ServerReply {
    Command command;
    std::span<const std::uint8_t> value;  // a view of the sub-negotiation's payload
};

// The reply a sub-negotiation carries, or none when it is not a server's COM-PORT-OPTION reply.
std::optional<ServerReply> ReadServerReply(std::uint8_t option,
                                           std::span<const std::uint8_t> payload);

// The rate a SET-BAUDRATE reply reports, or none for another reply or a malformed value.
std::optional<std::uint32_t> ReplyBaudRate(const ServerReply& reply);

}  // namespace platform::rfc2217
