// The suite's end of the device agent (tools/device_agent): a loopback connection over which a
// test makes the device send, reads back what the port wrote, unplugs the device and plugs in a
// new one. The agent runs on Linux; this end runs natively or under Wine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace port_behaviour {

class DeviceAgentClient {
public:
    // Connects to the agent whose port number QDAX_DEVICE_AGENT holds, on 127.0.0.1. The device's
    // COM name is QDAX_DEVICE_PORT. Throws std::runtime_error when either is missing or the agent
    // cannot be reached.
    DeviceAgentClient();
    ~DeviceAgentClient();
    DeviceAgentClient(const DeviceAgentClient&) = delete;
    DeviceAgentClient& operator=(const DeviceAgentClient&) = delete;

    const std::string& PortName() const { return portName_; }

    // A new device behind the port name, with nothing received; the old one vanishes.
    void Plug();
    // The device vanishes: a port that has it open sees a hang-up.
    void Unplug();
    // The device sends `bytes` to the port.
    void Send(std::string_view bytes);
    // Everything the port wrote to the device since it was plugged in.
    std::string Received();
    // Waits until the port wrote at least `count` bytes and returns them all; fewer when they did
    // not come in time.
    std::string ReceiveAtLeast(std::size_t count);

private:
    // One request, one reply; throws std::runtime_error when the agent refuses or goes away.
    std::string Ask(const std::string& request);

    std::string portName_;
    std::uintptr_t socket_;  // a SOCKET on Windows, a descriptor elsewhere
    std::string input_;
};

}  // namespace port_behaviour
