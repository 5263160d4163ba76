#include "tests/e2e/scenario.h"

#include <filesystem>
#include <stdexcept>

#include "platform/linux_port_registry.h"
#include "tests/e2e/operator.h"
#include "tests/support/recording.h"

namespace e2e {

Device::Device(const std::string& portsDir, const std::string& recordPath,
               const std::vector<std::string>& options)
    : recordPath_(recordPath), process_(portsDir, [&] {
          std::vector<std::string> arguments{"--record", recordPath};
          arguments.insert(arguments.end(), options.begin(), options.end());
          return arguments;
      }()) {}

QByteArray Device::Wire() const {
    return QByteArray::fromStdString(qdax_test::ReadRecording(recordPath_));
}

Scenario::Scenario()
    : portsDir_(root_.file("ports")),
      filesDir_(root_.file("files")),
      previousSources_(platform::ConfiguredPortSources()) {
    std::filesystem::create_directory(portsDir_);
    std::filesystem::create_directory(filesDir_);
    // No sysfs root: the machine's own serial ports stay out of the scenario.
    platform::ConfigurePortSources({"", portsDir_});
}

Scenario::~Scenario() {
    // The window first: its port stops the reader while the hand-over is still served.
    window_.reset();
    services_.reset();
    devices_.clear();
    platform::ConfigurePortSources(previousSources_);
}

Device& Scenario::StartDevice(const std::vector<std::string>& options) {
    const std::string record = root_.file("wire-" + std::to_string(devices_.size()) + ".bin");
    devices_.push_back(std::make_unique<Device>(portsDir_, record, options));
    return *devices_.back();
}

TMainForm& Scenario::OpenWindow() {
    registry_ = platform::BuildLinuxPortRegistry(platform::ConfiguredPortSources());
    window_ = std::make_unique<TMainForm>(*registry_);
    window_->SetModalRunner(runner_);
    services_ = std::make_unique<WindowServices>(*window_);
    if (!ShowActive(*window_)) throw std::runtime_error("the window did not become active");
    return *window_;
}

TMainForm& Scenario::OpenWindowOnPort(int portIndex) {
    TMainForm& window = OpenWindow();
    OpenPort(window, portIndex);
    return window;
}

}  // namespace e2e
