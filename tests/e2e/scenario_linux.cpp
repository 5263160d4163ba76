#include <filesystem>

#include "platform/registry.h"
#include "tests/e2e/scenario.h"
#include "tests/support/recording.h"

namespace e2e {

Device::Device(const std::string& portsDir, const std::string& recordPath,
               const std::vector<std::string>& options)
    : recordPath_(recordPath), process_(portsDir, [&] {
          std::vector<std::string> arguments{"--record", recordPath};
          arguments.insert(arguments.end(), options.begin(), options.end());
          return arguments;
      }()) {
    comName_ = process_.comName();
}

QByteArray Device::Wire() const {
    return QByteArray::fromStdString(qdax_test::ReadRecording(recordPath_));
}

QString Device::VanishedLine() {
    return "<-- The device is not connected.";
}

std::optional<int> Device::Stop() {
    return process_.stop();
}

std::optional<int> Device::Kill() {
    return process_.kill();
}

std::optional<int> Device::WaitForExit() {
    return process_.waitForExit();
}

bool Device::Linked() const {
    return std::filesystem::is_symlink(process_.linkPath());
}

void Device::RemoveLink() {
    std::filesystem::remove(process_.linkPath());
}

void Device::KeepNumberTaken() {
    numberHold_.emplace(process_.ptyPath());
}

Scenario::Scenario()
    : filesDir_(Directory("files")),
      portsDir_(Directory("ports")),
      previousSources_(platform::ConfiguredPortSources()) {
    // No sysfs root: the machine's own serial ports stay out of the scenario.
    platform::ConfigurePortSources({"", portsDir_});
}

Device& Scenario::StartDevice(const std::vector<std::string>& options) {
    const std::string record =
        root_.filePath(QString("wire-%1.bin").arg(devices_.size())).toStdString();
    devices_.push_back(std::make_unique<Device>(portsDir_, record, options));
    return *devices_.back();
}

TMainForm& Scenario::OpenWindow() {
    // The program's own registry: on Linux the port view of the scenario's configured sources.
    return ShowWindow(platform::SystemRegistry());
}

}  // namespace e2e
