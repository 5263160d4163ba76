// The device agent's line protocol, shared by the agent and the tests that drive it: one request
// line, one reply line. Bytes travel as hexadecimal, so every byte value arrives unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace device_agent {

// Requests.
// A new device: the old one (if any) vanishes, the link leads to the new one, nothing received.
inline constexpr std::string_view kPlug = "PLUG";
// The device vanishes: its end of the line closes, so the port sees a hang-up.
inline constexpr std::string_view kUnplug = "UNPLUG";
// "SEND <hex>": bytes for the device to send to the port.
inline constexpr std::string_view kSend = "SEND";
// Everything the port has written to the device since the last PLUG.
inline constexpr std::string_view kReceived = "RECEIVED";

// Replies.
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kData = "DATA";    // "DATA <hex>"
inline constexpr std::string_view kError = "ERROR";  // "ERROR <what>"

std::string ToHex(std::string_view bytes);
// Nothing when `hex` has an odd length or a character that is no hexadecimal digit.
std::optional<std::string> FromHex(std::string_view hex);

// A line split at its first space into the word and the rest.
struct Message {
    std::string word;
    std::string argument;
};
Message ParseMessage(std::string_view line);
std::string ComposeMessage(std::string_view word, std::string_view argument = {});

}  // namespace device_agent
