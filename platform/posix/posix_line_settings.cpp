// Uses the kernel's termios2 (TCGETS2/TCSETS2, BOTHER) and so must not see <termios.h>.
#include "platform/posix/posix_line_settings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace platform::posix {

namespace {

struct StandardRate {
    DWORD rate;
    tcflag_t code;
};

// Rates with a code of their own are set by that code, so tools that know only the codes read
// them back; any other rate goes as BOTHER with the number.
constexpr StandardRate kStandardRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

tcflag_t RateCode(DWORD rate) {
    for (const StandardRate& entry : kStandardRates) {
        if (entry.rate == rate) return entry.code;
    }
    return BOTHER;
}

// A UART divides its clock: the rate it gives may differ a little from the one asked for, but
// more than this means the rate was not taken.
bool IsRateTaken(DWORD wanted, speed_t actual) {
    const std::uint64_t difference = wanted > actual ? wanted - actual : actual - wanted;
    return difference * 100 <= std::uint64_t{wanted} * 3;
}

int Get(int fd, termios2& line) {
    return ioctl(fd, TCGETS2, &line) == 0 ? 0 : errno;
}
int Set(int fd, const termios2& line) {
    return ioctl(fd, TCSETS2, &line) == 0 ? 0 : errno;
}

tcflag_t SizeFlag(BYTE dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

BYTE DataBits(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
}

tcflag_t ParityFlags(BYTE parity) {
    switch (parity) {
        case ODDPARITY:
            return PARENB | PARODD;
        case EVENPARITY:
            return PARENB;
        case MARKPARITY:
            return PARENB | CMSPAR | PARODD;
        case SPACEPARITY:
            return PARENB | CMSPAR;
        default:
            return 0;
    }
}

BYTE Parity(tcflag_t cflag) {
    if ((cflag & PARENB) == 0) return NOPARITY;
    const bool odd = (cflag & PARODD) != 0;
    if ((cflag & CMSPAR) != 0) return odd ? MARKPARITY : SPACEPARITY;
    return odd ? ODDPARITY : EVENPARITY;
}

// The modes of a raw line that no DCB setting touches.
void ApplyRawModes(termios2& line) {
    // A break and a byte with a framing or parity error are line conditions, not data: without
    // IGNBRK and IGNPAR each would arrive as a NUL, which ends the text of that read.
    line.c_iflag &= ~static_cast<tcflag_t>(BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL);
    line.c_iflag |= IGNBRK | IGNPAR;
    line.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    line.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag |= CREAD | CLOCAL;
    // One byte satisfies a read, so a non-blocking read without data says EAGAIN.
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
}

}  // namespace

int MakeLineRaw(int fd) {
    termios2 line{};
    if (int error = Get(fd, line)) return error;
    ApplyRawModes(line);
    line.c_iflag &= ~static_cast<tcflag_t>(IXON);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    line.c_cflag |= CS8;
    return Set(fd, line);
}

int KeepLineRaw(int fd) {
    termios2 line{};
    if (int error = Get(fd, line)) return error;
    const termios2 before = line;
    ApplyRawModes(line);
    // Each set reprograms the UART; a line still raw is left alone.
    if (std::memcmp(&line, &before, sizeof line) == 0) return 0;
    return Set(fd, line);
}

int DiscardUnsentOutput(int fd) {
    termios2 line{};
    if (int error = Get(fd, line)) return error;
    // Output held back by CTS or an XOFF would otherwise stay stuck in the UART or adapter.
    line.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    line.c_iflag &= ~static_cast<tcflag_t>(IXON);
    if (int error = Set(fd, line)) return error;
    return ioctl(fd, TCFLSH, TCOFLUSH) == 0 ? 0 : errno;
}

void DecodeLineSettings(const termios2& line, LineSettings& settings) {
    settings.baudRate = line.c_ospeed;
    settings.dataBits = DataBits(line.c_cflag);
    settings.parity = Parity(line.c_cflag);
    settings.parityCheck = (line.c_iflag & INPCK) != 0;
    settings.longStop = (line.c_cflag & CSTOPB) != 0;
    settings.hardwareFlow = (line.c_cflag & CRTSCTS) != 0;
    settings.xonOutput = (line.c_iflag & IXON) != 0;
    settings.xonInput = (line.c_iflag & IXOFF) != 0;
    settings.xonChar = static_cast<char>(line.c_cc[VSTART]);
    settings.xoffChar = static_cast<char>(line.c_cc[VSTOP]);
}

void EncodeLineSettings(const LineSettings& settings, termios2& line) {
    line.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT) | CSIZE | PARENB | PARODD |
                                           CMSPAR | CSTOPB | CRTSCTS);
    line.c_cflag |=
        RateCode(settings.baudRate) | SizeFlag(settings.dataBits) | ParityFlags(settings.parity);
    if (settings.longStop) line.c_cflag |= CSTOPB;
    if (settings.hardwareFlow) line.c_cflag |= CRTSCTS;
    line.c_ispeed = settings.baudRate;  // the input rate follows the output rate
    line.c_ospeed = settings.baudRate;
    line.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF);
    if (settings.parityCheck) line.c_iflag |= INPCK;
    if (settings.xonOutput) line.c_iflag |= IXON;
    if (settings.xonInput) line.c_iflag |= IXOFF;
    line.c_cc[VSTART] = static_cast<cc_t>(settings.xonChar);
    line.c_cc[VSTOP] = static_cast<cc_t>(settings.xoffChar);
}

int ReadLineSettings(int fd, LineSettings& settings) {
    termios2 line{};
    if (int error = Get(fd, line)) return error;
    DecodeLineSettings(line, settings);
    return 0;
}

int WriteLineSettings(int fd, const LineSettings& settings) {
    termios2 before{};
    if (int error = Get(fd, before)) return error;
    termios2 line = before;
    EncodeLineSettings(settings, line);
    if (int error = Set(fd, line)) return error;

    termios2 taken{};
    if (int error = Get(fd, taken)) return error;
    if (!IsRateTaken(settings.baudRate, taken.c_ospeed)) {
        Set(fd, before);
        return EINVAL;
    }
    return 0;
}

int SetModemLine(int fd, ModemLine line, bool raised) {
    const int bits = line == ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
    if (ioctl(fd, raised ? TIOCMBIS : TIOCMBIC, &bits) == 0) return 0;
    return errno == ENOTTY || errno == EINVAL ? 0 : errno;
}

}  // namespace platform::posix
