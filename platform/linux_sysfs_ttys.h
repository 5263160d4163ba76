// The ttys that sysfs shows backed by real serial hardware, with what identifies that hardware.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct SysfsSerialTty {
    std::string ttyName;      // the kernel's name: "ttyUSB0"
    std::string devicePath;   // "/dev/ttyUSB0"
    std::string enumerator;   // "USB", "PCI", "ACPI", "PNP", "PLATFORM", "BTHENUM", ...
    std::string deviceId;     // "VID_0403&PID_6001", "VEN_8086&DEV_9D3D", "PNP0501", ...
    std::string description;  // "FT232R USB UART", "Communications Port", ...
};

// Reads <sysfsRoot>/class/tty, in directory order. Nothing when sysfsRoot is empty.
std::vector<SysfsSerialTty> ReadSysfsSerialTtys(const std::string& sysfsRoot);

}  // namespace platform
