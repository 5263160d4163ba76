// The agent's loopback socket: accepts clients, serves each as a session of its own, and serves
// the sessions' devices.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/device_agent/agent_session.h"
#include "tools/device_agent/port_links.h"
#include "tools/device_agent/simulator_home.h"

namespace device_agent {

class AgentServer {
public:
    explicit AgentServer(const PortLinks& links);
    ~AgentServer();
    AgentServer(const AgentServer&) = delete;
    AgentServer& operator=(const AgentServer&) = delete;

    // Listens on 127.0.0.1 at a free port. Empty on success, otherwise what failed.
    std::string Listen();
    int Port() const { return port_; }

    // Serves clients and their devices until `stopDescriptor` becomes readable. Empty when
    // stopped that way, otherwise what failed.
    std::string Run(int stopDescriptor);

private:
    PortLinks links_;
    SimulatorHome home_;
    int listener_ = -1;
    int port_ = 0;
    std::vector<std::unique_ptr<AgentSession>> sessions_;
};

}  // namespace device_agent
