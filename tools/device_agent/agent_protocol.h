// The device agent's line protocol, shared by the agent and the tests that drive it: one request
// line, one reply line. Bytes travel as hexadecimal, so every byte value arrives unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device_agent {

// Requests. Each connection holds at most one device of its own, for as long as it lasts: a
// pseudo-terminal the test drives (DEVICE) or a simulator (SIMULATE).
// "DEVICE COM<n>": a device of the connection's own, published as COM<n>; the requests up to
// RECEIVED act on it.
inline constexpr std::string_view kDevice = "DEVICE";
// A new device: the old one (if any) vanishes, the link leads to the new one, nothing received.
inline constexpr std::string_view kPlug = "PLUG";
// The device vanishes: its end of the line closes, so the port sees a hang-up.
inline constexpr std::string_view kUnplug = "UNPLUG";
// "SEND <hex>": bytes for the device to send to the port.
inline constexpr std::string_view kSend = "SEND";
// Everything the port has written to the device since the last PLUG.
inline constexpr std::string_view kReceived = "RECEIVED";
// "SIMULATE <hex>": starts qdax-sim with the arguments, each followed by a NUL, published under
// the COM name it chooses; the reply is "OK COM<n> <pseudo-terminal path>". The requests below
// act on it; it is stopped when the connection ends.
inline constexpr std::string_view kSimulate = "SIMULATE";
// Everything the simulator recorded: "DATA <hex>".
inline constexpr std::string_view kWire = "WIRE";
// SIGTERM, or SIGKILL, and wait for the end: "OK <exit status as a shell shows it>".
inline constexpr std::string_view kStop = "STOP";
inline constexpr std::string_view kKill = "KILL";
// "OK <exit status>" once it has ended, "OK" while it runs.
inline constexpr std::string_view kExit = "EXIT";
// "OK 1" while the simulator's COM link exists, "OK 0" when not; UNLINK removes it.
inline constexpr std::string_view kLinked = "LINKED";
inline constexpr std::string_view kUnlink = "UNLINK";
// Opens the simulator's pseudo-terminal and keeps it open until the connection ends: once the
// simulator is gone, its number stays taken, so a link left behind leads nowhere.
inline constexpr std::string_view kHold = "HOLD";

// Replies.
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kData = "DATA";    // "DATA <hex>"
inline constexpr std::string_view kError = "ERROR";  // "ERROR <what>"

std::string ToHex(std::string_view bytes);
// Nothing when `hex` has an odd length or a character that is no hexadecimal digit.
std::optional<std::string> FromHex(std::string_view hex);

// Program arguments as one string, each followed by a NUL, and back.
std::string JoinArguments(const std::vector<std::string>& arguments);
std::vector<std::string> SplitArguments(std::string_view joined);

// A line split at its first space into the word and the rest.
struct Message {
    std::string word;
    std::string argument;
};
Message ParseMessage(std::string_view line);
std::string ComposeMessage(std::string_view word, std::string_view argument = {});

}  // namespace device_agent
