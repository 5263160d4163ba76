#include "fake_device.h"

FakeDevice::FakeDevice(const PortsDirectory&, unsigned comNumber)
    : comName_("COM" + std::to_string(comNumber)) {
    agent_.Attach(comName_);
}

void FakeDevice::TakeAvailable() {
    const std::string all = agent_.Received();
    received_.append(all, taken_);
    taken_ = all.size();
}

void FakeDevice::Send(std::string_view bytes) {
    agent_.Send(bytes);
}
