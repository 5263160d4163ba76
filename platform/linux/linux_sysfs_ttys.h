// The ttys that sysfs shows backed by real serial hardware, with what identifies that hardware.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct SysfsSerialTty {
    std::string ttyName;       // the kernel's name: "ttyUSB0"
    std::string devicePath;    // "/dev/ttyUSB0"
    std::string enumerator;    // "USB", "PCI", "ACPI", "PNP", "PLATFORM", "BTHENUM", ...
    std::string deviceId;      // "VID_0403&PID_6001", "VEN_8086&DEV_9D3D", "PNP0501", ...
    std::string description;   // "FT232R USB UART", "Communications Port", ...
    std::string serialNumber;  // the USB serial number; empty when there is none
    std::string adapter;       // the USB device the port belongs to; empty for other ports
    unsigned adapterPort = 0;  // orders the ports of one adapter: interface, then port in it
    // What finds the same hardware again after it was pulled and plugged back in, under another
    // tty name: any one of these in common is the same port. USB ports: udev's by-id link (with
    // a serial number) or by-path link where present, and the serial number, interface and port
    // (else the USB bus path, interface and port) from sysfs. Other ports: the tty name.
    std::vector<std::string> identities;
};

// Reads <sysfsRoot>/class/tty, in directory order, and the links in <deviceRoot>/serial. Nothing
// when sysfsRoot is empty.
std::vector<SysfsSerialTty> ReadSysfsSerialTtys(const std::string& sysfsRoot,
                                                const std::string& deviceRoot);

}  // namespace platform
