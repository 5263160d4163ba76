#include "platform/posix/posix_dcb.h"

namespace platform::posix {

DCB DefaultDcb() {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.fBinary = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

bool IsValidDcb(const DCB& dcb) {
    if (dcb.BaudRate == 0) return false;
    if (dcb.ByteSize < 5 || dcb.ByteSize > 8) return false;
    if (dcb.Parity > SPACEPARITY) return false;
    switch (dcb.StopBits) {
        case ONESTOPBIT:
            break;
        case ONE5STOPBITS:
            if (dcb.ByteSize != 5) return false;
            break;
        case TWOSTOPBITS:
            if (dcb.ByteSize == 5) return false;
            break;
        default:
            return false;
    }
    if (dcb.fRtsControl == RTS_CONTROL_TOGGLE) return false;
    if ((dcb.fOutX || dcb.fInX) && dcb.XonChar == dcb.XoffChar) return false;
    return true;
}

LineSettings LineSettingsFromDcb(const DCB& dcb) {
    LineSettings line;
    line.baudRate = dcb.BaudRate;
    line.dataBits = dcb.ByteSize;
    line.parity = dcb.Parity;
    line.parityCheck = dcb.fParity != 0;
    line.longStop = dcb.StopBits != ONESTOPBIT;
    line.hardwareFlow = dcb.fOutxCtsFlow != 0 || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE;
    line.xonOutput = dcb.fOutX != 0;
    line.xonInput = dcb.fInX != 0;
    line.xonChar = dcb.XonChar;
    line.xoffChar = dcb.XoffChar;
    return line;
}

DCB WithLineSettings(DCB dcb, const LineSettings& line) {
    dcb.BaudRate = line.baudRate;
    dcb.ByteSize = line.dataBits;
    dcb.Parity = line.parity;
    dcb.fParity = line.parityCheck ? 1 : 0;
    if (!line.longStop) {
        dcb.StopBits = ONESTOPBIT;
    } else {
        dcb.StopBits = line.dataBits == 5 ? ONE5STOPBITS : TWOSTOPBITS;
    }
    dcb.fOutxCtsFlow = line.hardwareFlow ? 1 : 0;
    if (line.hardwareFlow) {
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    } else if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) {
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
    }
    dcb.fOutX = line.xonOutput ? 1 : 0;
    dcb.fInX = line.xonInput ? 1 : 0;
    dcb.XonChar = line.xonChar;
    dcb.XoffChar = line.xoffChar;
    return dcb;
}

ModemLineStates ModemLinesFromDcb(const DCB& dcb) {
    ModemLineStates lines;
    lines.dtr = dcb.fDtrControl != DTR_CONTROL_DISABLE;
    if (dcb.fRtsControl != RTS_CONTROL_HANDSHAKE)
        lines.rts = dcb.fRtsControl != RTS_CONTROL_DISABLE;
    return lines;
}

}  // namespace platform::posix
