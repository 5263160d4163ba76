// RFC 2217 serial port control: the commands a client sends inside the COM-PORT-OPTION
// sub-negotiation and the values they carry. A server answers each with the command's number
// plus kServerReplyOffset and the value it applied.
#pragma once

#include <cstdint>

namespace platform::rfc2217 {

// The commands this program sends; a server may send others (line and modem state notices).
enum class Command : std::uint8_t {
    kSetBaudRate = 1,
    kSetDataSize = 2,
    kSetParity = 3,
    kSetStopSize = 4,
    kSetControl = 5,
    kPurgeData = 12,
};

inline constexpr std::uint8_t kServerReplyOffset = 100;

enum class Parity : std::uint8_t { kNone = 1, kOdd = 2, kEven = 3, kMark = 4, kSpace = 5 };

enum class StopSize : std::uint8_t { kOne = 1, kTwo = 2, kOneAndAHalf = 3 };

// The SET-CONTROL values this program uses; the command has others (flow control, BREAK).
enum class Control : std::uint8_t { kDtrOn = 8, kDtrOff = 9, kRtsOn = 11, kRtsOff = 12 };

enum class Purge : std::uint8_t { kReceiveBuffer = 1, kTransmitBuffer = 2, kBothBuffers = 3 };

}  // namespace platform::rfc2217
