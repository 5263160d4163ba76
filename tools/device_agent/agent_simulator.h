// A simulator (qdax-sim) that the agent runs for one client, published from its home, with what
// the client may ask of it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/support/pty_client.h"
#include "tests/support/simulator_process.h"
#include "tools/device_agent/simulator_home.h"

namespace device_agent {

class AgentSimulator {
public:
    // Starts it with `arguments`, recording what it receives. Throws std::runtime_error when it
    // does not start or cannot be published.
    AgentSimulator(SimulatorHome& home, const std::vector<std::string>& arguments);

    // "COM9 /dev/pts/3"
    std::string Describe() const;
    std::string Wire() const;
    std::optional<int> Stop() { return process_.stop(); }
    std::optional<int> Kill() { return process_.kill(); }
    std::optional<int> ExitStatus() { return process_.waitForExit(std::chrono::milliseconds(0)); }
    bool Linked() const;
    void Unlink() const;
    // Opens its pseudo-terminal and keeps it open while this object lives.
    void HoldNumber() { numberHold_.emplace(process_.ptyPath()); }

private:
    std::string recordPath_;
    qdax_test::SimulatorProcess process_;
    std::optional<qdax_test::PtyClient> numberHold_;
};

}  // namespace device_agent
