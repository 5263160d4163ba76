// Where this machine's serial ports are found on Linux: the sysfs root, the device root and the
// directory of virtual port links (COM<n> symbolic links to character devices). Only the program's
// start-up configures the real ones; tests configure trees of their own.
#pragma once

#include <string>

namespace platform {

struct PortSources {
    std::string sysfsRoot;            // "/sys" on a real machine
    std::string portsDir;             // see DefaultPortsDir
    std::string deviceRoot = "/dev";  // the device nodes, and udev's serial/by-id and by-path links
};

#ifndef _WIN32
// $XDG_RUNTIME_DIR/qdax/ports, or /tmp/qdax-<uid>/ports where XDG_RUNTIME_DIR is unset or empty.
std::string DefaultPortsDir();
#endif

// The real sources of this machine: "/sys" and DefaultPortsDir(). None on Windows, whose ports
// are in the system registry and open by their COM names.
PortSources MachinePortSources();

// The sources that the port view and the opening of COM names use. Until configured, both are
// empty: no port is listed and no COM name resolves (device paths still open).
void ConfigurePortSources(const PortSources& sources);
PortSources ConfiguredPortSources();

}  // namespace platform
