// The line settings of a tty as this backend maps them from and to a DCB, and the calls that
// read and write them. The kernel's termios2 interface carries any baud rate, so these live in a
// unit of their own that uses the kernel's definitions instead of the C library's <termios.h>.
#pragma once

#include "platform/win32_types.h"

struct termios2;  // <asm/termbits.h>

namespace platform::posix {

struct LineSettings {
    DWORD baudRate = 0;
    BYTE dataBits = 8;          // 5..8
    BYTE parity = NOPARITY;     // NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY or SPACEPARITY
    bool parityCheck = false;   // received parity is checked (INPCK)
    bool longStop = false;      // two stop bits, one and a half with 5 data bits (CSTOPB)
    bool hardwareFlow = false;  // RTS/CTS handshake (CRTSCTS)
    bool xonOutput = false;     // output obeys XON/XOFF (IXON)
    bool xonInput = false;      // input is throttled with XON/XOFF (IXOFF)
    char xonChar = 0x11;
    char xoffChar = 0x13;
};

enum class ModemLine { Dtr, Rts };

// Each returns 0 or an errno.

// Raw 8-bit line: no echo, no line editing, no translation, no signals, receiver on, modem
// status ignored, breaks and bytes received in error dropped (IGNBRK, IGNPAR); a read without
// data reports EAGAIN.
int MakeLineRaw(int fd);
// Puts back the raw modes that another program changed meanwhile, leaving the line settings of
// a DCB as they are; sets nothing when the modes are still raw.
int KeepLineRaw(int fd);
// Drops what is written but not yet sent, and lifts output flow control, so that closing the
// line does not wait for output that a stopped line would never take (up to the driver's
// closing_wait, 30 s by default).
int DiscardUnsentOutput(int fd);
int ReadLineSettings(int fd, LineSettings& settings);
// EINVAL, with the line left as it was, when the kernel does not take the baud rate. (A
// pseudo-terminal keeps 8 data bits and no parity whatever is asked; reading back tells.)
int WriteLineSettings(int fd, const LineSettings& settings);
// Lines a device does not have (a pseudo-terminal has none) are passed over.
int SetModemLine(int fd, ModemLine line, bool raised);

// The kernel's record of the settings, both ways; the flags outside the settings stay as they are.
void DecodeLineSettings(const termios2& line, LineSettings& settings);
void EncodeLineSettings(const LineSettings& settings, termios2& line);

}  // namespace platform::posix
