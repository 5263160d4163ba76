// The device the agent holds: a pseudo-terminal whose far end is published as a COM port by a
// symbolic link, what the port wrote to it, and the bytes still to be sent to the port.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "tools/qdax_sim/pseudo_terminal.h"

namespace device_agent {

class AgentDevice {
public:
    // `linkPath` is the link that publishes the device: a virtual port link, or a Wine prefix's
    // dosdevices entry.
    explicit AgentDevice(std::string linkPath);
    // Removes the link while it still leads to this device.
    ~AgentDevice();
    AgentDevice(const AgentDevice&) = delete;
    AgentDevice& operator=(const AgentDevice&) = delete;

    // A new pseudo-terminal behind the link; the old one vanishes. Empty on success, otherwise
    // what failed.
    std::string Plug();
    void Unplug();
    bool Plugged() const { return pty_ != nullptr; }

    // Bytes to send to the port; false when no device is plugged in.
    bool Queue(std::string_view bytes);
    const std::string& Received() const { return received_; }

    // For the agent's poll loop: the descriptor (-1 while unplugged), the events it waits for,
    // and the work to do when they came.
    int Descriptor() const;
    short Events() const;
    void Serve(short revents);

private:
    std::string linkPath_;
    std::unique_ptr<qdax_sim::PseudoTerminal> pty_;
    std::string received_;
    std::string toPort_;
};

}  // namespace device_agent
