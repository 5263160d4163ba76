#include "tools/device_agent/simulator_home.h"

#include <sys/stat.h>

#include <stdexcept>
#include <utility>

namespace device_agent {

SimulatorHome::SimulatorHome(PortLinks links)
    : links_(std::move(links)), portsDir_(dir_.file("ports")) {
    if (mkdir(portsDir_.c_str(), 0700) != 0) throw std::runtime_error("no " + portsDir_);
}

SimulatorHome::~SimulatorHome() {
    for (const std::string& comName : published_) {
        RemoveLinkTo(links_.PathOf(comName), HomeLinkOf(comName));
    }
}

std::string SimulatorHome::NextRecordPath() {
    return dir_.file("wire-" + std::to_string(records_++) + ".bin");
}

std::string SimulatorHome::Publish(const std::string& comName) {
    if (published_.count(comName) != 0) return {};
    if (std::string error = ReplaceLink(links_.PathOf(comName), HomeLinkOf(comName));
        !error.empty()) {
        return error;
    }
    published_.insert(comName);
    return {};
}

}  // namespace device_agent
