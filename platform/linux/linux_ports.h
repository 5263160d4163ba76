// The serial ports of a Linux machine, read from sysfs and from the directory of virtual port
// links, with the COM names they are known by. This is the one map from COM names to device
// paths: the registry view lists it and the serial layer opens through it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/port_sources.h"

namespace platform {

struct LinuxSerialPort {
    std::string comName;       // "COM1"
    std::string devicePath;    // what opening the port opens: "/dev/ttyS0", or the link's path
    std::string enumerator;    // "ACPI", "PNP", "PCI", "USB", "PLATFORM", "BTHENUM", "ROOT", ...
    std::string deviceId;      // groups instances: "PNP0501", "VID_0403&PID_6001", ...
    std::string instanceId;    // unique within the device
    std::string friendlyName;  // "FT232R USB UART (/dev/ttyUSB0)"
};

// Hardware ports first (in the order of their tty names), then the virtual links in ascending
// COM number. A virtual link whose name a hardware port already has is left out. Hardware keeps
// the COM name it was first listed under for the run (platform/linux/linux_port_names.h).
std::vector<LinuxSerialPort> ScanSerialPorts(const PortSources& sources);

// The COM name of a hardware tty (documented in linux_ports.cpp): "ttyS0" -> "COM1".
std::string ComNameForTty(const std::string& ttyName);
// The names a tty may take, best first: its own, then the free numbers of its family's block,
// then "COM" and the tty name.
std::vector<std::string> ComNameChoices(const std::string& ttyName);

// The path that opening `name` opens: a COM name through ScanSerialPorts (matched without regard
// to case), an absolute path as it is. Nothing for a COM name that no port has.
std::optional<std::string> ResolvePortName(const std::string& name, const PortSources& sources);

}  // namespace platform
