// Devices whose far end the test holds, published as COM ports: the test reads what the window
// sent and writes the device's answers. On Linux the device is a pseudo-terminal linked in a
// ports directory of the test's own; on Windows it is one the device agent holds on the Linux
// side, published in the Wine prefix's COM ports.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#ifdef _WIN32
#include "tests/support/device_agent_client.h"
#else
#include <QTemporaryDir>

#include "platform/port_sources.h"
#include "tests/support/pty_device.h"
#endif

#ifdef _WIN32
// The COM ports are the system's own: nothing to set up for them.
class PortsDirectory {};
#else
// A fresh ports directory, the one the port code looks in while this object lives.
class PortsDirectory {
public:
    PortsDirectory();
    ~PortsDirectory();
    PortsDirectory(const PortsDirectory&) = delete;
    PortsDirectory& operator=(const PortsDirectory&) = delete;

    std::string Path() const { return directory_.path().toStdString(); }

private:
    QTemporaryDir directory_;
    platform::PortSources previousSources_;
};
#endif

class FakeDevice {
public:
    // Publishes the device as COM<comNumber> in `ports`.
    FakeDevice(const PortsDirectory& ports, unsigned comNumber);
    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;

    const std::string& ComName() const { return comName_; }

    // Serves the window's events until at least `count` bytes have come from the window in all,
    // for at most a generous time.
    bool WaitForBytes(std::size_t count);
    // Serves the window's events for `milliseconds` and takes what came meanwhile.
    void Settle(int milliseconds);
    const std::string& Received() const { return received_; }
    void ClearReceived() { received_.clear(); }

    void Send(std::string_view bytes);

private:
    // Appends to received_ what the device has been sent since the last time.
    void TakeAvailable();

    std::string comName_;
    std::string received_;
#ifdef _WIN32
    qdax_test::DeviceAgentClient agent_;
    std::size_t taken_ = 0;  // how much of what the agent's device received is in received_
#else
    qdax_test::PtyDevice pty_;
#endif
};
