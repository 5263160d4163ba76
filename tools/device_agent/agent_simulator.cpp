#include "tools/device_agent/agent_simulator.h"

#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "tests/support/recording.h"

namespace device_agent {
namespace {

std::vector<std::string> RecordingArguments(const std::string& recordPath,
                                            const std::vector<std::string>& arguments) {
    std::vector<std::string> all{"--record", recordPath};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return all;
}

}  // namespace

AgentSimulator::AgentSimulator(SimulatorHome& home, const std::vector<std::string>& arguments)
    : recordPath_(home.NextRecordPath()),
      process_(home.PortsDir(), RecordingArguments(recordPath_, arguments)) {
    if (std::string error = home.Publish(process_.comName()); !error.empty()) {
        throw std::runtime_error(error);
    }
}

std::string AgentSimulator::Describe() const {
    return process_.comName() + " " + process_.ptyPath();
}

std::string AgentSimulator::Wire() const {
    return qdax_test::ReadRecording(recordPath_);
}

bool AgentSimulator::Linked() const {
    return std::filesystem::is_symlink(process_.linkPath());
}

void AgentSimulator::Unlink() const {
    unlink(process_.linkPath().c_str());
}

}  // namespace device_agent
