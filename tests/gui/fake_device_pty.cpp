#include <unistd.h>

#include <stdexcept>

#include "fake_device.h"

PortsDirectory::PortsDirectory() : previousSources_(platform::ConfiguredPortSources()) {
    if (!directory_.isValid()) {
        throw std::runtime_error("no ports directory");
    }
    platform::ConfigurePortSources({"", Path()});
}

PortsDirectory::~PortsDirectory() {
    platform::ConfigurePortSources(previousSources_);
}

FakeDevice::FakeDevice(const PortsDirectory& ports, unsigned comNumber)
    : comName_("COM" + std::to_string(comNumber)) {
    pty_.LinkAs(ports.Path(), comName_);
}

void FakeDevice::TakeAvailable() {
    char buffer[512];
    for (;;) {
        const ssize_t count = read(pty_.MasterFd(), buffer, sizeof buffer);
        if (count <= 0) {
            return;  // nothing more now; EIO while no one holds the port open
        }
        received_.append(buffer, static_cast<std::size_t>(count));
    }
}

void FakeDevice::Send(std::string_view bytes) {
    if (!pty_.Write(std::string(bytes))) {
        throw std::runtime_error("the device cannot send");
    }
}
