// How commands and the device's lines appear in the communications log and on the wire, the same
// in the window and in qdax-play.
#pragma once

#include <string>
#include <string_view>

inline std::string SentLogLine(std::string_view command) {
    return "--> " + std::string(command);
}

inline std::string ReceivedLogLine(std::string_view line) {
    return "<-- " + std::string(line);
}

// A command goes out followed by one carriage return, and nothing else.
inline std::string CommandOnTheWire(std::string_view command) {
    return std::string(command) + '\r';
}
