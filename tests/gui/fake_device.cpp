#include "fake_device.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QTest>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr int kGenerousTimeoutMs = 10000;

}  // namespace

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
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    const std::string linkPath = ports.Path() + "/" + comName_;
    if (symlink(ptsname(master_), linkPath.c_str()) != 0) {
        throw std::runtime_error("cannot publish " + linkPath);
    }
}

FakeDevice::~FakeDevice() {
    close(master_);
}

void FakeDevice::TakeAvailable() {
    char buffer[512];
    for (;;) {
        const ssize_t count = read(master_, buffer, sizeof buffer);
        if (count <= 0) {
            return;  // nothing more now; EIO while no one holds the port open
        }
        received_.append(buffer, static_cast<std::size_t>(count));
    }
}

bool FakeDevice::WaitForBytes(std::size_t count) {
    return QTest::qWaitFor(
        [&] {
            TakeAvailable();
            return received_.size() >= count;
        },
        kGenerousTimeoutMs);
}

void FakeDevice::Settle(int milliseconds) {
    QTest::qWait(milliseconds);
    TakeAvailable();
}

void FakeDevice::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(master_, bytes.data(), bytes.size());
        if (written < 0 && errno != EAGAIN) {
            throw std::runtime_error("the device cannot send");
        }
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
        } else {
            pollfd room{master_, POLLOUT, 0};
            poll(&room, 1, 100);
        }
    }
}
