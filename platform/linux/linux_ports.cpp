// COM names of hardware ttys. The rule is fixed, so a device keeps its name whatever else is
// plugged in, and no two ttys share a name:
//
// - ttyS<n> (n from 0 to 255) is COM<n+1>, as the PC's on-board and PCI ports are numbered on
//   Windows: ttyS0 is COM1.
// - Each family below has a block of 100 numbers above 256: <family><n> with n from 0 to 99 is
//   COM<first + n>, so ttyUSB0 is COM300 and ttyACM2 is COM402. The table only ever grows.
// - Any other tty, an index of 100 or more, or an index written with a leading zero: "COM"
//   followed by the tty name, "COMttyXYZ3". Kernel tty names begin with a letter, so such a name is
//   never "COM" followed by a number.
//
// Within a run a COM name keeps meaning the same hardware: an adapter plugged back in under
// another tty name keeps its first name, and another adapter that now has the old tty name takes
// the next free number of its family's block.
//
// Friendly names tell identical adapters apart: the USB serial number where there is one, and
// for adapters with several ports which port it is, numbered from 1 in interface order.
//
// Virtual ports keep the number of their link, which must be named COM1 to COM255 exactly
// (capitals, plain decimal: com5 and COM07 are ignored); a link whose name a hardware port already
// has is left out.
//
// Order of the list: hardware ports by tty name in natural order, that is by family name and
// then by index as a number (ttyACM0, ttyS2, ttyS10, ttyUSB0), then the virtual ports in
// ascending number.
#include "platform/linux/linux_ports.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/linux/linux_port_names.h"
#include "platform/linux/linux_sysfs_ttys.h"
#include "platform/linux/linux_virtual_ports.h"

namespace platform {

namespace {

struct TtyFamily {
    std::string_view prefix;
    unsigned firstNumber;
};

constexpr TtyFamily kTtyFamilies[] = {
    {"ttyUSB", 300},   // USB serial converters
    {"ttyACM", 400},   // USB CDC ACM modems and boards
    {"ttyAMA", 500},   // ARM PL011
    {"ttymxc", 600},   // NXP i.MX
    {"ttyTHS", 700},   // NVIDIA Tegra high-speed
    {"rfcomm", 800},   // Bluetooth RFCOMM
    {"ttySAC", 900},   // Samsung
    {"ttyO", 1000},    // TI OMAP
    {"ttyHS", 1100},   // high-speed UARTs (Qualcomm, Tegra)
    {"ttyMSM", 1200},  // Qualcomm MSM
    {"ttyPS", 1300},   // Xilinx Zynq
    {"ttyLP", 1400},   // NXP LPUART
    {"ttySC", 1500},   // Renesas SCI(F), SC16IS7xx
    {"ttyGS", 1600},   // USB gadget serial
    {"ttyAML", 1700},  // Amlogic
    {"ttyMV", 1800},   // Marvell
    {"ttySTM", 1900},  // STMicroelectronics STM32
    {"ttyUL", 2000},   // Xilinx UART Lite
    {"ttySIF", 2100},  // SiFive
    {"ttyTCU", 2200},  // Tegra combined UART
};

constexpr std::string_view kOnBoardPrefix = "ttyS";
constexpr unsigned kOnBoardCount = 256;
constexpr unsigned kFamilyCount = 100;

// "ttyUSB12" -> "ttyUSB" and "12".
struct TtyNameParts {
    std::string_view family;
    std::string_view digits;
};

TtyNameParts SplitTtyName(std::string_view name) {
    std::size_t end = name.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
    return TtyNameParts{name.substr(0, end), name.substr(end)};
}

// The index as a number when it is plain decimal below `limit`, without a leading zero.
bool ParseIndex(std::string_view digits, unsigned limit, unsigned* index) {
    if (digits.empty() || digits.size() > 3 || (digits.size() > 1 && digits[0] == '0')) {
        return false;
    }
    unsigned value = 0;
    for (char digit : digits) value = value * 10 + static_cast<unsigned>(digit - '0');
    if (value >= limit) return false;
    *index = value;
    return true;
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

bool TtyNameLess(const SysfsSerialTty& a, const SysfsSerialTty& b) {
    const TtyNameParts left = SplitTtyName(a.ttyName);
    const TtyNameParts right = SplitTtyName(b.ttyName);
    if (left.family != right.family) return left.family < right.family;
    const std::string_view leftIndex = WithoutLeadingZeros(left.digits);
    const std::string_view rightIndex = WithoutLeadingZeros(right.digits);
    if (leftIndex.size() != rightIndex.size()) return leftIndex.size() < rightIndex.size();
    if (leftIndex != rightIndex) return leftIndex < rightIndex;
    return a.ttyName < b.ttyName;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// ", port 2" when the tty's adapter has more ports in `ttys`, ", serial A10K1234" when it has a
// serial number.
std::string AdapterDetails(const SysfsSerialTty& tty, const std::vector<SysfsSerialTty>& ttys) {
    std::string details;
    if (!tty.adapter.empty()) {
        unsigned ports = 0;
        unsigned before = 0;
        for (const SysfsSerialTty& other : ttys) {
            if (other.adapter != tty.adapter) continue;
            ++ports;
            if (other.adapterPort < tty.adapterPort) ++before;
        }
        if (ports > 1) details += ", port " + std::to_string(before + 1);
    }
    if (!tty.serialNumber.empty()) details += ", serial " + tty.serialNumber;
    return details;
}

LinuxSerialPort HardwarePort(const SysfsSerialTty& tty, const std::string& comName,
                             const std::string& details) {
    return LinuxSerialPort{comName,        tty.devicePath,
                           tty.enumerator, tty.deviceId,
                           tty.ttyName,    tty.description + details + " (" + tty.devicePath + ")"};
}

LinuxSerialPort VirtualPort(const VirtualPortLink& link) {
    const std::string comName = "COM" + std::to_string(link.number);
    return LinuxSerialPort{comName, link.linkPath,
                           "ROOT",  "PORTS",
                           comName, "Virtual Port " + comName + " (" + link.targetPath + ")"};
}

}  // namespace

std::string ComNameForTty(const std::string& ttyName) {
    const TtyNameParts parts = SplitTtyName(ttyName);
    unsigned index = 0;
    if (parts.family == kOnBoardPrefix && ParseIndex(parts.digits, kOnBoardCount, &index)) {
        return "COM" + std::to_string(index + 1);
    }
    for (const TtyFamily& family : kTtyFamilies) {
        if (parts.family == family.prefix && ParseIndex(parts.digits, kFamilyCount, &index)) {
            return "COM" + std::to_string(family.firstNumber + index);
        }
    }
    return "COM" + ttyName;
}

std::vector<std::string> ComNameChoices(const std::string& ttyName) {
    std::vector<std::string> choices{ComNameForTty(ttyName)};
    const std::string_view family = SplitTtyName(ttyName).family;
    for (const TtyFamily& known : kTtyFamilies) {
        if (known.prefix != family) continue;
        for (unsigned index = 0; index < kFamilyCount; ++index) {
            choices.push_back("COM" + std::to_string(known.firstNumber + index));
        }
    }
    choices.push_back("COM" + ttyName);
    return choices;
}

std::vector<LinuxSerialPort> ScanSerialPorts(const PortSources& sources) {
    std::vector<SysfsSerialTty> ttys = ReadSysfsSerialTtys(sources.sysfsRoot, sources.deviceRoot);
    std::sort(ttys.begin(), ttys.end(), TtyNameLess);
    const std::vector<std::string> comNames =
        ComNamesForRun(sources.sysfsRoot + "\n" + sources.deviceRoot, ttys);
    std::vector<LinuxSerialPort> ports;
    for (std::size_t i = 0; i < ttys.size(); ++i) {
        ports.push_back(HardwarePort(ttys[i], comNames[i], AdapterDetails(ttys[i], ttys)));
    }
    const std::size_t hardwareCount = ports.size();
    for (const VirtualPortLink& link : ReadVirtualPortLinks(sources.portsDir)) {
        LinuxSerialPort port = VirtualPort(link);
        const auto hardwareEnd = ports.begin() + static_cast<std::ptrdiff_t>(hardwareCount);
        const bool taken = std::any_of(ports.begin(), hardwareEnd, [&](const LinuxSerialPort& p) {
            return EqualsIgnoringCase(p.comName, port.comName);
        });
        if (!taken) ports.push_back(std::move(port));
    }
    return ports;
}

// Accepts the device namespace prefix "\\.\" as CreateFileA does on Windows.
std::optional<std::string> ResolvePortName(const std::string& name, const PortSources& sources) {
    constexpr std::string_view kDevicePrefix = "\\\\.\\";
    std::string_view bare = name;
    if (bare.substr(0, kDevicePrefix.size()) == kDevicePrefix) {
        bare.remove_prefix(kDevicePrefix.size());
    }
    if (bare.empty()) return std::nullopt;
    if (bare.front() == '/') return std::string(bare);
    for (const LinuxSerialPort& port : ScanSerialPorts(sources)) {
        if (EqualsIgnoringCase(port.comName, bare)) return port.devicePath;
    }
    return std::nullopt;
}

}  // namespace platform
