#include "tests/e2e/scenario.h"

#include <filesystem>
#include <stdexcept>

#include "tests/e2e/operator.h"

namespace e2e {

Scenario::~Scenario() {
    // The window first: its port stops the reader while the hand-over is still served.
    window_.reset();
    services_.reset();
    devices_.clear();
#ifndef _WIN32
    platform::ConfigurePortSources(previousSources_);
#endif
}

std::string Scenario::Directory(const std::string& name) const {
    if (!root_.isValid()) throw std::runtime_error("no directory for the scenario");
    const std::string path = root_.filePath(QString::fromStdString(name)).toStdString();
    std::filesystem::create_directory(path);
    return path;
}

TMainForm& Scenario::ShowWindow(platform::RegistryApi& registry) {
    window_ = std::make_unique<TMainForm>(registry);
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
