// qdax-device-agent: holds a pseudo-terminal as a serial device, publishes it through a link of
// the caller's choice, and lets a test program drive it over a loopback socket (agent_protocol.h),
// including tests that run under Wine and cannot reach the pseudo-terminal themselves.
//
//     qdax-device-agent --link PATH
//
// Prints the socket's port number on a line of its own once it serves, and runs until SIGTERM,
// SIGINT or the end of the program that started it.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "tools/device_agent/agent_device.h"
#include "tools/device_agent/agent_server.h"
#include "tools/qdax_sim/stop_signals.h"

namespace {

int Failure(const std::string& error) {
    std::cerr << "qdax-device-agent: " << error << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::string(argv[1]) != "--link") {
        std::cerr << "usage: qdax-device-agent --link PATH\n";
        return 2;
    }
    if (std::string error = qdax_sim::InstallStopSignals(); !error.empty()) return Failure(error);
    // A session of its own, so that it can hold its device as controlling terminal; the hang-up
    // of that terminal is then the agent's own doing and no reason to stop.
    setsid();
    signal(SIGHUP, SIG_IGN);
    // A test runner that is killed must not leave the device behind.
    const pid_t parent = getppid();
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) return Failure("no parent");

    device_agent::AgentDevice device(argv[2]);
    if (std::string error = device.Plug(); !error.empty()) return Failure(error);
    device_agent::AgentServer server;
    if (std::string error = server.Listen(); !error.empty()) return Failure(error);
    std::printf("%d\n", server.Port());
    std::fflush(stdout);
    if (std::string error = server.Run(device, qdax_sim::StopSignalDescriptor()); !error.empty()) {
        return Failure(error);
    }
    return 0;
}
