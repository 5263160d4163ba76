// qdax-sim: a serial device on a pseudo-terminal, for the tests and for trying the loader
// without hardware. `qdax-sim --help` describes it.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "platform/port_sources.h"
#include "tools/qdax_sim/device_loop.h"
#include "tools/qdax_sim/port_link.h"
#include "tools/qdax_sim/pseudo_terminal.h"
#include "tools/qdax_sim/recorder.h"
#include "tools/qdax_sim/sim_options.h"
#include "tools/qdax_sim/stop_signals.h"

namespace {

int Failure(const std::string& error) {
    std::cerr << "qdax-sim: " << error << "\n";
    return 1;
}

int Simulate(const qdax_sim::SimOptions& options) {
    if (std::string error = qdax_sim::InstallStopSignals(); !error.empty()) return Failure(error);
    qdax_sim::Recorder recorder;
    if (!options.recordPath.empty()) {
        if (std::string error = recorder.Open(options.recordPath); !error.empty()) {
            return Failure(error);
        }
    }
    qdax_sim::PseudoTerminal pty;
    if (std::string error = pty.Open(); !error.empty()) return Failure(error);
    // Declared after the pseudo-terminal, so the link goes before the far end sees a hang-up.
    qdax_sim::PortLink link;
    std::string portsDir =
        options.portsDir.empty() ? platform::DefaultPortsDir() : options.portsDir;
    if (std::string error = link.Publish(portsDir, pty.path(), options.comNumber); !error.empty()) {
        return Failure(error);
    }

    std::printf("%s\n", link.comName().c_str());
    if (options.printPath) std::printf("%s\n", pty.path().c_str());
    std::fflush(stdout);

    std::string error;
    if (qdax_sim::RunDevice(pty, options, recorder, error) == qdax_sim::DeviceEnd::Failed) {
        return Failure(error);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    qdax_sim::ParsedOptions parsed = qdax_sim::ParseSimOptions(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "qdax-sim: " << parsed.error << "\nTry 'qdax-sim --help'.\n";
        return 2;
    }
    if (parsed.options.help) {
        std::cout << qdax_sim::HelpText();
        return 0;
    }
    return Simulate(parsed.options);
}
