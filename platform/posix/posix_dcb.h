// How a DCB maps onto a tty: which values are valid, the line settings and modem lines they ask
// for, and the record GetCommState reports. Members a tty does not carry keep what was last set.
#pragma once

#include <optional>

#include "platform/posix/posix_line_settings.h"
#include "platform/win32_types.h"

namespace platform::posix {

// What a freshly opened port reports for the members the line does not carry (the rate and
// framing always come from the line).
DCB DefaultDcb();

// False for values the system refuses: no rate, data bits outside 5..8, unknown parity or stop
// bits, 1.5 stop bits with other than 5 data bits or 2 with 5, RTS toggling (no tty does it),
// equal XON and XOFF characters with XON/XOFF on.
bool IsValidDcb(const DCB& dcb);

LineSettings LineSettingsFromDcb(const DCB& dcb);

// `dcb` with the members the line carries replaced by what it reports. The line has one RTS/CTS
// flag for both directions: handshake reads back as CTS watched and RTS handshaking.
DCB WithLineSettings(DCB dcb, const LineSettings& line);

// The modem lines a DCB sets by hand; nothing where the line is left alone (RTS under handshake).
// DTR handshaking has no tty counterpart and raises DTR.
struct ModemLineStates {
    std::optional<bool> dtr;
    std::optional<bool> rts;
};
ModemLineStates ModemLinesFromDcb(const DCB& dcb);

}  // namespace platform::posix
