#include "platform/network/rfc2217_commands.h"

#include <array>

#include "platform/network/telnet.h"

namespace platform::rfc2217 {

namespace {

telnet::Bytes EncodeCommand(Command command, std::span<const std::uint8_t> value) {
    telnet::Bytes payload{static_cast<std::uint8_t>(command)};
    payload.insert(payload.end(), value.begin(), value.end());
    return telnet::EncodeSubNegotiation(telnet::option::kComPort, payload);
}

telnet::Bytes EncodeOneByteCommand(Command command, std::uint8_t value) {
    return EncodeCommand(command, std::span(&value, 1));
}

}  // namespace

telnet::Bytes EncodeSetBaudRate(std::uint32_t baudRate) {
    // Network byte order, most significant byte first.
    const std::array<std::uint8_t, 4> value{
        static_cast<std::uint8_t>(baudRate >> 24), static_cast<std::uint8_t>(baudRate >> 16),
        static_cast<std::uint8_t>(baudRate >> 8), static_cast<std::uint8_t>(baudRate)};
    return EncodeCommand(Command::kSetBaudRate, value);
}

telnet::Bytes EncodeSetDataSize(std::uint8_t dataBits) {
    return EncodeOneByteCommand(Command::kSetDataSize, dataBits);
}

telnet::Bytes EncodeSetParity(Parity parity) {
    return EncodeOneByteCommand(Command::kSetParity, static_cast<std::uint8_t>(parity));
}

telnet::Bytes EncodeSetStopSize(StopSize stopSize) {
    return EncodeOneByteCommand(Command::kSetStopSize, static_cast<std::uint8_t>(stopSize));
}

telnet::Bytes EncodeSetControl(Control control) {
    return EncodeOneByteCommand(Command::kSetControl, static_cast<std::uint8_t>(control));
}

telnet::Bytes EncodePurgeData(Purge purge) {
    return EncodeOneByteCommand(Command::kPurgeData, static_cast<std::uint8_t>(purge));
}

std::optional<ServerReply> ReadServerReply(std::uint8_t option,
                                           std::span<const std::uint8_t> payload) {
    if (option != telnet::option::kComPort || payload.empty() || payload[0] < kServerReplyOffset) {
        return std::nullopt;
    }
    return ServerReply{static_cast<Command>(payload[0] - kServerReplyOffset), payload.subspan(1)};
}

std::optional<std::uint32_t> ReplyBaudRate(const ServerReply& reply) {
    if (reply.command != Command::kSetBaudRate || reply.value.size() != 4) return std::nullopt;
    std::uint32_t baudRate = 0;
    for (const std::uint8_t byte : reply.value) baudRate = (baudRate << 8) | byte;
    return baudRate;
}

}  // namespace platform::rfc2217
