#include "platform/registry.h"
#include "platform/system_error_text.h"
#include "tests/e2e/scenario.h"
#include "tests/support/wait_until.h"

namespace e2e {

Device::Device(const std::vector<std::string>& options) {
    comName_ = agent_.Simulate(options).comName;
}

QByteArray Device::Wire() const {
    return QByteArray::fromStdString(agent_.Wire());
}

std::optional<int> Device::Stop() {
    return agent_.Stop();
}

std::optional<int> Device::Kill() {
    return agent_.Kill();
}

std::optional<int> Device::WaitForExit() {
    std::optional<int> status;
    qdax_test::WaitUntil([&] { return (status = agent_.ExitStatus()).has_value(); });
    return status;
}

QString Device::VanishedLine() {
    return "<-- " + QString::fromLocal8Bit(platform::SystemErrorText(ERROR_BROKEN_PIPE));
}

bool Device::Linked() const {
    return agent_.Linked();
}

void Device::RemoveLink() {
    agent_.Unlink();
}

void Device::KeepNumberTaken() {
    agent_.HoldNumber();
}

Scenario::Scenario() : filesDir_(Directory("files")) {}

Device& Scenario::StartDevice(const std::vector<std::string>& options) {
    devices_.push_back(std::make_unique<Device>(options));
    deviceTree_.Add(devices_.back()->ComName());
    return *devices_.back();
}

TMainForm& Scenario::OpenWindow() {
    return ShowWindow(platform::SystemRegistry());
}

}  // namespace e2e
