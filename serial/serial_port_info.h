// One serial port of the machine: opens it by device name, applies the line settings and the
// read time-out, writes command text, closes it, and owns the port's single reader thread.
// Every operation runs on the window thread; the reader touches only the handle slot and the
// completion record whose addresses it is given.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32_types.h"
#include "serial/open_settings.h"
#include "serial/port_settings.h"
#include "serial/write_queue.h"

class ReadSerialThread;

class SerialPortInfo {
public:
    SerialPortInfo();
    explicit SerialPortInfo(const std::string& name);
    SerialPortInfo(const std::string& name, std::int32_t baud, ParityType parity,
                   StopBitsType stopBits, std::int32_t timeout, WriteModeType writeMode,
                   LineReceivedCallback lineCallback);
    SerialPortInfo(const SerialPortInfo&) = delete;
    SerialPortInfo& operator=(const SerialPortInfo&) = delete;
    // Closes the port, stops the reader and waits until it has let go of the handle slot and the
    // record. Never needs the window thread to serve a hand-over; it must not be called from
    // inside one (from the line callback), whose end the reader would wait for.
    ~SerialPortInfo();

    void SetDefaults();
    void OpenPort(const std::string& name, std::int32_t baud, ParityType parity,
                  StopBitsType stopBits, std::int32_t timeout, WriteModeType writeMode);
    void ClosePort();
    void ConfigurePortA();
    void ConfigurePortA(std::int32_t baud, ParityType parity, StopBitsType stopBits,
                        std::int32_t timeout);
    void SetBaud(std::int32_t baud);
    void SetParity(ParityType parity);
    void SetStopBits(StopBitsType stopBits);
    void SetCallback(LineReceivedCallback lineCallback);
    // Passed on to the reader, now or when the first successful open creates it.
    void SetReadFailureCallback(ReadFailureCallback readFailureCallback);
    // Starts writing the whole text. True when the write did not complete within the call (in
    // progress or failed), false when it completed at once.
    bool SerialPortWrite(const std::string& text);

    bool IsOpen() const { return isOpen; }
    const ReadSerialThread* Reader() const { return reader; }
    HANDLE PortHandle() const { return portHandle; }
    std::int32_t BaudRate() const { return baudRate; }
    std::int32_t ReadIntervalTimeout() const { return readIntervalTimeout; }
    ParityType Parity() const { return parity; }
    StopBitsType StopBits() const { return stopBits; }
    WriteModeType WriteMode() const { return writeMode; }

    // The longest device name: the path "\\.\" + name + NUL fits 256 bytes.
    static constexpr std::size_t kMaxNameLength = 251;

private:
    void HoldReader();

    bool isOpen = false;
    ReadSerialThread* reader = nullptr;
    LineReceivedCallback lineCallback;
    ReadFailureCallback readFailureCallback;
    OVERLAPPED readCompletion{};
    HANDLE portHandle = INVALID_HANDLE_VALUE;
    std::int32_t baudRate = 19200;
    // Until given others, as by the constructors that take none: the settings the programs open
    // with.
    std::int32_t readIntervalTimeout = kOpenSettings.readIntervalTimeoutMs;
    ParityType parity = kOpenSettings.parity;
    StopBitsType stopBits = kOpenSettings.stopBits;
    WriteModeType writeMode = kOpenSettings.writeMode;
    WriteQueue writes;
    bool openedPlain = false;  // the open port's reads block in the reader until data comes
};
