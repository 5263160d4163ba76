// One client of the agent: its request lines, each answered by one reply line, and the device
// it holds, which goes when the client goes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "tools/device_agent/agent_device.h"
#include "tools/device_agent/agent_protocol.h"
#include "tools/device_agent/agent_simulator.h"
#include "tools/device_agent/port_links.h"
#include "tools/device_agent/simulator_home.h"

namespace device_agent {

class AgentSession {
public:
    AgentSession(int socket, const PortLinks& links, SimulatorHome& home);
    ~AgentSession();
    AgentSession(const AgentSession&) = delete;
    AgentSession& operator=(const AgentSession&) = delete;

    int Socket() const { return socket_; }
    // Takes what the client sent and answers each whole request; false when the client has gone.
    bool ServeClient();

    // For the agent's poll loop: the device's descriptor (-1 when there is none), the events it
    // waits for, and the work to do when they came.
    int DeviceDescriptor() const { return device_ ? device_->Descriptor() : -1; }
    short DeviceEvents() const { return device_ ? device_->Events() : 0; }
    void ServeDevice(short revents) { device_->Serve(revents); }

private:
    std::string Answer(std::string_view request);
    std::string AnswerDevice(const Message& message);
    std::string AnswerSimulator(const Message& message);
    std::string StartDevice(const std::string& comName);
    std::string StartSimulator(const std::string& hexArguments);

    int socket_;
    std::string input_;
    const PortLinks& links_;
    SimulatorHome& home_;
    std::unique_ptr<AgentDevice> device_;
    std::unique_ptr<AgentSimulator> simulator_;
};

}  // namespace device_agent
