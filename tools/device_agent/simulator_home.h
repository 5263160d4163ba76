// Where the agent's simulators live: a directory of the agent's own holding their COM links and
// recordings, and the links that lead there from where the port code looks. A simulator removes,
// or leaves, only its own link; the link into the home dangles or leads on just the same.
#pragma once

#include <set>
#include <string>

#include "tests/support/temp_dir.h"
#include "tools/device_agent/port_links.h"

namespace device_agent {

class SimulatorHome {
public:
    explicit SimulatorHome(PortLinks links);
    // Removes the links into the home.
    ~SimulatorHome();
    SimulatorHome(const SimulatorHome&) = delete;
    SimulatorHome& operator=(const SimulatorHome&) = delete;

    // The ports directory the simulators publish themselves in.
    const std::string& PortsDir() const { return portsDir_; }
    // A file name for the next simulator's recording.
    std::string NextRecordPath();
    // Links `comName` where the port code looks to the simulator's link of that name here.
    // Empty on success, otherwise what failed.
    std::string Publish(const std::string& comName);

private:
    std::string HomeLinkOf(const std::string& comName) const { return portsDir_ + "/" + comName; }

    PortLinks links_;
    qdax_test::TempDir dir_;
    std::string portsDir_;
    std::set<std::string> published_;
    int records_ = 0;
};

}  // namespace device_agent
