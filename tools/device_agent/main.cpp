// qdax-device-agent: serial devices on the Linux side for test programs that may run under Wine
// and cannot reach a pseudo-terminal themselves. Each client of its loopback socket
// (agent_protocol.h) holds one device: a pseudo-terminal it drives, or a simulator (qdax-sim).
// The devices are published as COM ports by symbolic links, in a ports directory of the Linux
// port code or in a Wine prefix's dosdevices.
//
//     qdax-device-agent --ports-dir DIR | --dosdevices DIR
//
// Prints the socket's port number on a line of its own once it serves, and runs until SIGTERM,
// SIGINT or the end of the program that started it.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "tools/device_agent/agent_server.h"
#include "tools/qdax_sim/stop_signals.h"

namespace {

int Failure(const std::string& error) {
    std::cerr << "qdax-device-agent: " << error << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string where = argc == 3 ? argv[1] : "";
    if (where != "--ports-dir" && where != "--dosdevices") {
        std::cerr << "usage: qdax-device-agent --ports-dir DIR | --dosdevices DIR\n";
        return 2;
    }
    if (std::string error = qdax_sim::InstallStopSignals(); !error.empty()) return Failure(error);
    // A session of its own, so that it can hold a device as controlling terminal; the hang-up
    // of that terminal is then the agent's own doing and no reason to stop.
    setsid();
    signal(SIGHUP, SIG_IGN);
    // A test runner that is killed must not leave the devices behind.
    const pid_t parent = getppid();
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) return Failure("no parent");

    try {
        device_agent::AgentServer server({argv[2], where == "--dosdevices"});
        if (std::string error = server.Listen(); !error.empty()) return Failure(error);
        std::printf("%d\n", server.Port());
        std::fflush(stdout);
        if (std::string error = server.Run(qdax_sim::StopSignalDescriptor()); !error.empty()) {
            return Failure(error);
        }
    } catch (const std::exception& error) {
        return Failure(error.what());
    }
    return 0;
}
