#include "serial/serial_port_info.h"

#include <algorithm>
#include <utility>

#include "platform/comm.h"
#include "platform/message_box.h"
#include "serial/read_serial_thread.h"

namespace {

DWORD Milliseconds(std::int32_t value) {
    return static_cast<DWORD>(std::max<std::int32_t>(value, 0));
}

}  // namespace

SerialPortInfo::SerialPortInfo() {
    SetDefaults();
    reader = new ReadSerialThread(&portHandle, &readCompletion, readIntervalTimeout, nullptr);
}

SerialPortInfo::SerialPortInfo(const std::string& name) {
    SetDefaults();
    OpenPort(name, baudRate, parity, stopBits, readIntervalTimeout, writeMode);
}

SerialPortInfo::SerialPortInfo(const std::string& name, std::int32_t baud, ParityType parity,
                               StopBitsType stopBits, std::int32_t timeout, WriteModeType writeMode,
                               LineReceivedCallback lineCallback) {
    SetDefaults();
    this->lineCallback = std::move(lineCallback);
    OpenPort(name, baud, parity, stopBits, timeout, writeMode);
}

SerialPortInfo::~SerialPortInfo() {
    // The reader frees itself once stopped, so everything it needs is taken before the stop: the
    // port is closed first (which holds the reader and ends a pending read), then the reader is
    // stopped and waited for. A hand-over it waits in is dropped by the stop, so the wait never
    // needs the window thread.
    std::shared_ptr<platform::ThreadExit> readerExit;
    if (reader != nullptr) readerExit = reader->ExitSignal();
    if (portHandle != INVALID_HANDLE_VALUE) ClosePort();
    if (reader != nullptr) {
        reader->Terminate();
        reader = nullptr;
        readerExit->Wait();
    }
}

void SerialPortInfo::SetDefaults() {
    isOpen = false;
    reader = nullptr;
    lineCallback = nullptr;
    portHandle = INVALID_HANDLE_VALUE;
    baudRate = 19200;
    parity = ParityNone;
    stopBits = StopBitsOne;
    writeMode = WriteModeOverlapped;
}

void SerialPortInfo::HoldReader() {
    if (reader != nullptr) reader->Suspend();
}

void SerialPortInfo::OpenPort(const std::string& name, std::int32_t baud, ParityType parity,
                              StopBitsType stopBits, std::int32_t timeout,
                              WriteModeType writeMode) {
    if (isOpen) {
        ClosePort();  // holds the reader
        isOpen = false;
        platform::SleepEx(Milliseconds(timeout), FALSE);
    } else {
        HoldReader();
    }
    if (name.size() > kMaxNameLength) {
        // The device path has a fixed size on the system; a longer name names no device.
        platform::ShowMessageBox("Unable to open serial port", "Error", ERROR_INVALID_NAME);
        return;
    }
    const std::string path = "\\\\.\\" + name;
    portHandle = platform::CreateFileA(
        path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
        writeMode == WriteModeOverlapped ? FILE_FLAG_OVERLAPPED : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (portHandle == INVALID_HANDLE_VALUE) {
        platform::ShowMessageBox("Unable to open serial port", "Error", platform::GetLastError());
        return;
    }
    isOpen = true;
    openedPlain = writeMode != WriteModeOverlapped;
    ConfigurePortA(baud, parity, stopBits, timeout);
    if (reader == nullptr) {
        reader = new ReadSerialThread(&portHandle, &readCompletion, timeout, lineCallback);
        reader->SetReadFailureCallback(readFailureCallback);
    }
    reader->Resume();
    // Wakes a reader resting after a lasting error on the old handle, so that it reads the new
    // one at once.
    reader->WakeUp();
}

void SerialPortInfo::ClosePort() {
    // A plain read waits inside the reader's step until data comes, so holding the reader would
    // wait on a silent device: the handle is closed first, which ends that read.
    if (openedPlain) platform::CloseHandle(portHandle);
    HoldReader();
    writes.DrainThenCancel(portHandle, static_cast<DWORD>(std::max<std::int32_t>(baudRate, 0)));
    if (!openedPlain) platform::CloseHandle(portHandle);
    portHandle = INVALID_HANDLE_VALUE;
    isOpen = false;
    openedPlain = false;
}

void SerialPortInfo::ConfigurePortA() {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    platform::GetCommState(portHandle, &dcb);
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.ByteSize = 8;
    // The program numbers even before odd, the system the other way round: translate, never copy.
    switch (parity) {
        case ParityNone:
            dcb.Parity = NOPARITY;
            break;
        case ParityEven:
            dcb.Parity = EVENPARITY;
            break;
        case ParityOdd:
            dcb.Parity = ODDPARITY;
            break;
        case ParityMark:
            dcb.Parity = MARKPARITY;
            break;
        default:
            break;
    }
    switch (stopBits) {
        case StopBitsOne:
            dcb.StopBits = ONESTOPBIT;
            break;
        case StopBitsOnePointFive:
            dcb.StopBits = ONE5STOPBITS;
            break;
        case StopBitsTwo:
            dcb.StopBits = TWOSTOPBITS;
            break;
        default:
            break;
    }
    dcb.fBinary = 1;
    dcb.fParity = parity != 0 ? 1 : 0;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = 0;
    dcb.fAbortOnError = 0;
    dcb.wReserved = 0;
    platform::SetCommState(portHandle, &dcb);

    COMMTIMEOUTS timeouts{};
    platform::GetCommTimeouts(portHandle, &timeouts);
    timeouts.ReadIntervalTimeout = Milliseconds(readIntervalTimeout);
    platform::SetCommTimeouts(portHandle, &timeouts);
}

void SerialPortInfo::ConfigurePortA(std::int32_t baud, ParityType parity, StopBitsType stopBits,
                                    std::int32_t timeout) {
    baudRate = baud;
    this->parity = parity;
    this->stopBits = stopBits;
    readIntervalTimeout = timeout;
    ConfigurePortA();
}

void SerialPortInfo::SetBaud(std::int32_t baud) {
    if (baud == baudRate) return;
    baudRate = baud;
    if (isOpen) ConfigurePortA();
}

void SerialPortInfo::SetParity(ParityType parity) {
    if (parity == this->parity) return;
    this->parity = parity;
    ConfigurePortA();
}

void SerialPortInfo::SetStopBits(StopBitsType stopBits) {
    if (stopBits == this->stopBits) return;
    this->stopBits = stopBits;
    ConfigurePortA();
}

void SerialPortInfo::SetCallback(LineReceivedCallback lineCallback) {
    this->lineCallback = lineCallback;
    if (reader != nullptr) reader->SetCallback(std::move(lineCallback));
}

void SerialPortInfo::SetReadFailureCallback(ReadFailureCallback readFailureCallback) {
    this->readFailureCallback = readFailureCallback;
    if (reader != nullptr) reader->SetReadFailureCallback(std::move(readFailureCallback));
}

bool SerialPortInfo::SerialPortWrite(const std::string& text) {
    return writes.Start(portHandle, text);
}
