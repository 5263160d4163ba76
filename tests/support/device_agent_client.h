// A test's end of the device agent (tools/device_agent): one loopback connection holding one
// device on the Linux side, a pseudo-terminal the test drives or a simulator. The agent runs on
// Linux; this end runs natively or under Wine. Requests may come from several threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qdax_test {

class DeviceAgentClient {
public:
    // Connects to the agent whose port number QDAX_DEVICE_AGENT holds, on 127.0.0.1. Throws
    // std::runtime_error when it is not set or the agent cannot be reached. Every request throws
    // std::runtime_error when the agent refuses it or has gone.
    DeviceAgentClient();
    ~DeviceAgentClient();
    DeviceAgentClient(const DeviceAgentClient&) = delete;
    DeviceAgentClient& operator=(const DeviceAgentClient&) = delete;

    // The connection's device becomes a pseudo-terminal published as `comName`.
    void Attach(const std::string& comName);
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

    // The connection's device becomes a simulator (qdax-sim) started with `arguments`.
    struct SimulatorNames {
        std::string comName;  // "COM9"
        std::string ptyPath;  // "/dev/pts/3"
    };
    SimulatorNames Simulate(const std::vector<std::string>& arguments);
    // What the simulator recorded: every byte it received.
    std::string Wire();
    // Its exit status as a shell shows it, after SIGTERM or SIGKILL; nothing if it did not end.
    std::optional<int> Stop();
    std::optional<int> Kill();
    // Its exit status; nothing while it runs.
    std::optional<int> ExitStatus();
    bool Linked();
    void Unlink();
    // Keeps its pseudo-terminal's number taken until the connection ends.
    void HoldNumber();

private:
    // One request, one reply.
    std::string Ask(const std::string& request);

    std::mutex mutex_;
    std::uintptr_t socket_;  // a SOCKET on Windows, a descriptor elsewhere
    std::string input_;
};

}  // namespace qdax_test
