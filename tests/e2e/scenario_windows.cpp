#include <windows.h>

#include "platform/registry.h"
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
    char* text = nullptr;
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
                         ERROR_BROKEN_PIPE, 0x0400, reinterpret_cast<char*>(&text), 0, nullptr);
    const QString line = "<-- " + QString::fromLocal8Bit(text, length).trimmed();
    ::LocalFree(text);
    return line;
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
