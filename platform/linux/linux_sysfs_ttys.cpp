#include "platform/linux/linux_sysfs_ttys.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

namespace platform {

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs attribute without its line end; nothing when unreadable or empty.
std::optional<std::string> ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) {
        line.pop_back();
    }
    if (line.empty()) return std::nullopt;
    return line;
}

std::optional<std::string> ReadUeventValue(const fs::path& dir, const std::string& key) {
    std::ifstream in(dir / "uevent");
    const std::string prefix = key + "=";
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, prefix.size(), prefix) == 0 && line.size() > prefix.size()) {
            return line.substr(prefix.size());
        }
    }
    return std::nullopt;
}

// The name a link such as `subsystem` or `driver` points to: "usb", "serial-base", ...
std::string LinkTargetName(const fs::path& link) {
    std::error_code error;
    return fs::read_symlink(link, error).filename().string();
}

// A 16-bit identifier such as idVendor ("0403") or a PCI vendor ("0x8086"), as four upper-case
// hexadecimal digits.
std::optional<std::string> ReadHexId(const fs::path& file) {
    const std::optional<std::string> text = ReadAttribute(file);
    if (!text) return std::nullopt;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text->c_str(), &end, 16);
    if (end == text->c_str() || *end != '\0' || value > 0xFFFF) return std::nullopt;
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04lX", value);
    return std::string(digits);
}

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Since 6.5 the serial core puts a serial-base port (and its controller) between the tty and
// the hardware; usb-serial drivers put a port device above the USB interface. Climb past both.
fs::path HardwareOf(fs::path device) {
    for (;;) {
        const std::string subsystem = LinkTargetName(device / "subsystem");
        if ((subsystem != "serial-base" && subsystem != "usb-serial") ||
            device == device.parent_path()) {
            return device;
        }
        device = device.parent_path();
    }
}

struct Identity {
    std::string enumerator;
    std::string deviceId;
    std::string description;
    std::string serialNumber{};
    std::string adapter{};
    unsigned adapterPort = 0;
    std::string sysfsKey{};  // what identifies the port in sysfs beyond its tty name
};

unsigned ReadNumber(const fs::path& file, int base) {
    const std::optional<std::string> text = ReadAttribute(file);
    return text ? static_cast<unsigned>(std::strtoul(text->c_str(), nullptr, base)) : 0;
}

// `device` is the tty's own device: the usb-serial port (ttyUSB) or the interface (ttyACM).
Identity IdentifyUsb(const fs::path& hardware, const fs::path& device) {
    // ACM binds the interface; the USB device holding the ids and strings is its parent.
    std::error_code error;
    const bool isDevice = fs::exists(hardware / "idVendor", error);
    const fs::path usbDevice = isDevice ? hardware : hardware.parent_path();
    const std::optional<std::string> vendor = ReadHexId(usbDevice / "idVendor");
    const std::optional<std::string> product = ReadHexId(usbDevice / "idProduct");
    Identity identity{"USB", hardware.filename().string(), "USB Serial Port"};
    if (vendor && product) identity.deviceId = "VID_" + *vendor + "&PID_" + *product;
    if (auto text = ReadAttribute(usbDevice / "product")) {
        identity.description = *text;
    } else if (auto maker = ReadAttribute(usbDevice / "manufacturer")) {
        identity.description = *maker;
    }
    identity.serialNumber = ReadAttribute(usbDevice / "serial").value_or("");
    identity.adapter = usbDevice.string();
    const unsigned interface = isDevice ? 0 : ReadNumber(hardware / "bInterfaceNumber", 16);
    const unsigned port = device == hardware ? 0 : ReadNumber(device / "port_number", 10);
    identity.adapterPort = interface * 256 + port;
    const std::string where = ":" + std::to_string(interface) + ":" + std::to_string(port);
    // A serial number follows the adapter into any socket; without one, only the socket (its
    // bus path) tells two identical adapters apart.
    identity.sysfsKey =
        identity.serialNumber.empty()
            ? "usb-path:" + usbDevice.filename().string() + where
            : "usb-serial:" + identity.deviceId + ":" + identity.serialNumber + where;
    return identity;
}

Identity IdentifyPci(const fs::path& hardware) {
    const std::optional<std::string> vendor = ReadHexId(hardware / "vendor");
    const std::optional<std::string> device = ReadHexId(hardware / "device");
    Identity identity{"PCI", hardware.filename().string(), "PCI Serial Port"};
    if (vendor && device) identity.deviceId = "VEN_" + *vendor + "&DEV_" + *device;
    return identity;
}

// PnP devices described by ACPI carry a firmware node, and Windows lists them under ACPI.
Identity IdentifyPnp(const fs::path& hardware) {
    std::error_code error;
    const bool fromAcpi = fs::is_symlink(hardware / "firmware_node", error);
    return Identity{fromAcpi ? "ACPI" : "PNP",
                    ReadAttribute(hardware / "id").value_or(hardware.filename().string()),
                    "Communications Port"};
}

// Platform, AMBA and other on-board buses: the bus names the enumerator, the driver the device.
Identity IdentifyOnBoard(const fs::path& hardware, const std::string& subsystem) {
    std::string driver = LinkTargetName(hardware / "driver");
    if (driver.empty()) driver = hardware.filename().string();
    return Identity{subsystem.empty() ? "UNKNOWN" : UpperCase(subsystem), driver,
                    "Communications Port"};
}

Identity IdentifyHardware(const fs::path& device) {
    const fs::path hardware = HardwareOf(device);
    const std::string subsystem = LinkTargetName(hardware / "subsystem");
    if (subsystem == "usb") return IdentifyUsb(hardware, device);
    if (subsystem == "pci") return IdentifyPci(hardware);
    if (subsystem == "pnp") return IdentifyPnp(hardware);
    return IdentifyOnBoard(hardware, subsystem);
}

bool IsRfcomm(const std::string& ttyName) {
    return ttyName.rfind("rfcomm", 0) == 0;
}

// A serial-core port whose UART type reads 0 (unknown) has no hardware: the kernel creates such
// placeholder ttyS ports on every PC, and they cannot transfer data. Older kernels let only root
// read `type`; then the parent tells: the 8250 driver keeps its placeholders on its own legacy
// platform device, "serial8250", while a real port sits on its UART's PnP, PCI or platform device.
bool IsPlaceholder(const fs::path& ttyDir, const fs::path& device) {
    if (const std::optional<std::string> type = ReadAttribute(ttyDir / "type")) return *type == "0";
    return HardwareOf(device).filename() == "serial8250";
}

// udev's links in <deviceRoot>/serial/<kind> by the device node name they lead to.
using UdevLinks = std::map<std::string, std::string>;

UdevLinks ReadUdevLinks(const std::string& deviceRoot, const char* kind) {
    UdevLinks links;
    std::error_code error;
    fs::directory_iterator entry(fs::path(deviceRoot) / "serial" / kind, error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(entry->path(), linkError);
        if (!linkError) links[target.filename().string()] = entry->path().filename().string();
    }
    return links;
}

struct UdevSerialLinks {
    UdevLinks byId;
    UdevLinks byPath;
};

std::vector<std::string> IdentitiesOf(const std::string& name, const std::string& devName,
                                      const Identity& identity, const UdevSerialLinks& links) {
    if (identity.sysfsKey.empty()) return {"tty:" + name};
    std::vector<std::string> identities{identity.sysfsKey};
    // Without a serial number identical adapters share one by-id name: only by-path holds then.
    const UdevLinks& own = identity.serialNumber.empty() ? links.byPath : links.byId;
    const auto link = own.find(devName);
    if (link != own.end()) identities.push_back("udev:" + link->second);
    return identities;
}

std::optional<SysfsSerialTty> ReadTty(const fs::path& ttyDir, const std::string& deviceRoot,
                                      const UdevSerialLinks& links) {
    const std::string name = ttyDir.filename().string();
    std::error_code error;
    const fs::path device = fs::canonical(ttyDir / "device", error);
    Identity identity;
    if (IsRfcomm(name)) {
        // Bound rfcomm ttys are real links to a remote device, even while they sit in
        // devices/virtual with no device of their own.
        identity = Identity{"BTHENUM", "RFCOMM", "Bluetooth Serial Port"};
    } else if (error || IsPlaceholder(ttyDir, device)) {
        // Consoles, ptmx and the like have no device behind them.
        return std::nullopt;
    } else {
        identity = IdentifyHardware(device);
    }
    const std::string devName = ReadUeventValue(ttyDir, "DEVNAME").value_or(name);
    return SysfsSerialTty{name,
                          deviceRoot + "/" + devName,
                          identity.enumerator,
                          identity.deviceId,
                          identity.description,
                          identity.serialNumber,
                          identity.adapter,
                          identity.adapterPort,
                          IdentitiesOf(name, devName, identity, links)};
}

}  // namespace

std::vector<SysfsSerialTty> ReadSysfsSerialTtys(const std::string& sysfsRoot,
                                                const std::string& deviceRoot) {
    std::vector<SysfsSerialTty> ttys;
    if (sysfsRoot.empty()) return ttys;
    const UdevSerialLinks links{ReadUdevLinks(deviceRoot, "by-id"),
                                ReadUdevLinks(deviceRoot, "by-path")};
    std::error_code error;
    fs::directory_iterator entry(fs::path(sysfsRoot) / "class" / "tty", error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        if (std::optional<SysfsSerialTty> tty = ReadTty(entry->path(), deviceRoot, links)) {
            ttys.push_back(std::move(*tty));
        }
    }
    return ttys;
}

}  // namespace platform
