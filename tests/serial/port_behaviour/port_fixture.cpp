#include "tests/serial/port_behaviour/port_fixture.h"

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "platform/port_sources.h"

namespace port_behaviour {

using namespace std::chrono_literals;

std::vector<ModeCase> BothModes() {
    return {{"Overlapped", WriteModeOverlapped}, {"Plain", WriteModePlain}};
}

std::string ModeName(const testing::TestParamInfo<ModeCase>& info) {
    return info.param.name;
}

namespace {

std::string DevicePortName() {
    const char* name = std::getenv("QDAX_DEVICE_PORT");
    if (name == nullptr || *name == '\0') throw std::runtime_error("QDAX_DEVICE_PORT is not set");
    return name;
}

}  // namespace

PortBehaviour::PortBehaviour() : devicePort_(DevicePortName()) {
    device.Attach(devicePort_);
    // Natively COM names resolve through the directory the agent links in; Windows has its own.
    if (const char* portsDir = std::getenv("QDAX_PORTS_DIR")) {
        platform::ConfigurePortSources({"", portsDir});
    }
    previousBox_ = platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string& caption, DWORD code) {
            boxes.push_back(caption + ": " + text);
            boxCodes.push_back(code);
        });
}

PortBehaviour::~PortBehaviour() {
    platform::SetMessageBoxHandler(previousBox_);
}

LineReceivedCallback PortBehaviour::Collect() {
    return [this](const char* line) { lines.emplace_back(line); };
}

std::unique_ptr<SerialPortInfo> PortBehaviour::Open(const std::string& name,
                                                    WriteModeType writeMode) {
    return std::make_unique<SerialPortInfo>(name, 19200, ParityNone, StopBitsOne, 50, writeMode,
                                            Collect());
}

void PortBehaviour::Reopen(SerialPortInfo& port, const std::string& name, WriteModeType writeMode) {
    port.OpenPort(name, 19200, ParityNone, StopBitsOne, 50, writeMode);
}

bool PortBehaviour::LinesBecome(const std::vector<std::string>& expected) {
    window.ServeUntil([&] { return lines.size() >= expected.size(); });
    return lines == expected;
}

bool PortBehaviour::HandOverAfter(std::size_t served) {
    return window.ServeUntil([&] { return window.served > served; });
}

void PortBehaviour::ServeAWhile() {
    window.ServeUntil([] { return false; }, 300ms);
}

}  // namespace port_behaviour
