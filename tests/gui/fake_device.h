// Devices on the far side of pseudo-terminals, published as COM ports in a ports directory of the
// test's own: the test reads what the window sent and writes the device's answers.
#pragma once

#include <QTemporaryDir>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/port_sources.h"
#include "tests/support/pty_device.h"

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
    void TakeAvailable();

    qdax_test::PtyDevice pty_;
    std::string comName_;
    std::string received_;
};
