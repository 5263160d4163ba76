// The agent's loopback socket: accepts clients and answers each request line of the device agent
// protocol with one reply line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/device_agent/agent_device.h"

namespace device_agent {

class AgentServer {
public:
    AgentServer() = default;
    ~AgentServer();
    AgentServer(const AgentServer&) = delete;
    AgentServer& operator=(const AgentServer&) = delete;

    // Listens on 127.0.0.1 at a free port. Empty on success, otherwise what failed.
    std::string Listen();
    int Port() const { return port_; }

    // Serves clients and the device until `stopDescriptor` becomes readable. Empty when stopped
    // that way, otherwise what failed.
    std::string Run(AgentDevice& device, int stopDescriptor);

private:
    struct Client {
        int socket;
        std::string input;
    };
    static std::string Answer(AgentDevice& device, std::string_view request);
    // False when the client has gone.
    static bool ServeClient(Client& client, AgentDevice& device);

    int listener_ = -1;
    int port_ = 0;
    std::vector<Client> clients_;
};

}  // namespace device_agent
