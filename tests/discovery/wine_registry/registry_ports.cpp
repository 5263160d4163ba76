#include "tests/discovery/wine_registry/registry_ports.h"

#include <algorithm>
#include <sstream>

#include "discovery/serial_port_discovery.h"
#include "platform/last_error.h"

namespace wine_registry {

namespace {

constexpr const char* kPortsGuid = "{4D36E978-E325-11CE-BFC1-08002BE10318}";
constexpr const char* kModemGuid = "{4D36E96D-E325-11CE-BFC1-08002BE10318}";

std::string LowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Longer than the walks' first buffers (128 characters for names and bytes for data).
const std::string kLongDevice = "VID_0403&PID_6001&" + std::string(150, 'L');
const std::string kLongFriendlyName = "Serial port with a long name " + std::string(250, 'n');

std::vector<Instance> BuildInstances() {
    // Written enumerator B first, and instance 0001 before 0000, against the index order.
    return {
        {"QDAXTEST_B",
         "SERIAL_DEVICE",
         "0001",
         {{"Class", "Ports"}, {"PortName", "COM21"}, {"FriendlyName", "Test serial port (COM21)"}},
         {},
         true,
         "COM21",
         "Test serial port (COM21)"},
        {"QDAXTEST_B",
         "SERIAL_DEVICE",
         "0000",
         {{"ClassGUID", LowerCase(kPortsGuid)}, {"PortName", "COM20"}},
         {},
         true,
         "COM20",
         "COM20"},
        {"QDAXTEST_B",
         "PRINTER",
         "0000",
         {{"Class", "Ports"}, {"PortName", "LPT1"}, {"FriendlyName", "Printer port (LPT1)"}},
         {},
         false,
         "",
         ""},
        {"QDAXTEST_B",
         "MODEM",
         "0000",
         {{"Class", "Modem"}, {"ClassGUID", kModemGuid}, {"PortName", "COM22"}},
         {},
         false,
         "",
         ""},
        {"QDAXTEST_B",
         "USB_ADAPTER",
         "0000",
         {{"Class", "MultiportSerial"},
          {"ClassGUID", kPortsGuid},
          {"FriendlyName", "USB serial adapter (COM23)"}},
         {{"PortName", "COM23"}},
         true,
         "COM23",
         "USB serial adapter (COM23)"},
        {"QDAXTEST_B",
         "USB_ADAPTER",
         "0001",
         {{"Class", "PORTS"}, {"FriendlyName", "Adapter without a port name"}},
         {{"PortNumber", "7"}},
         false,
         "",
         ""},
        {"QDAXTEST_B",
         kLongDevice,
         "0000",
         {{"Class", "ports"}, {"PortName", "com24"}, {"FriendlyName", kLongFriendlyName}},
         {},
         true,
         "com24",
         kLongFriendlyName},
        {"QDAXTEST_A", "DEV", "0001", {{"Class", "Ports"}, {"PortName", "CO"}}, {}, false, "", ""},
        {"QDAXTEST_A",
         "DEV",
         "0000",
         {{"Class", "Ports"}, {"PortName", "COM25", false}},
         {},
         true,
         "COM25",
         "COM25"},
    };
}

// A text in a registry file: quoted, with backslash and quote escaped.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

std::string ValueLine(const RegistryValue& value) {
    if (value.terminated) return Quoted(value.name) + "=" + Quoted(value.data) + "\r\n";
    std::ostringstream line;
    line << Quoted(value.name) << "=hex:";
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        static constexpr char kDigits[] = "0123456789abcdef";
        const auto byte = static_cast<unsigned char>(value.data[i]);
        line << (i > 0 ? "," : "") << kDigits[byte >> 4] << kDigits[byte & 15];
    }
    line << "\r\n";
    return line.str();
}

std::string KeyLine(const std::string& path) {
    return "[HKEY_LOCAL_MACHINE\\" + path + "]\r\n";
}

constexpr const char* kFileHeader = "REGEDIT4\r\n\r\n";

bool CollectPort(void* ports, const PortEntry* entry) {
    static_cast<std::vector<ListedPort>*>(ports)->push_back(
        {entry->enumeratorName, entry->portName, entry->friendlyName});
    return true;
}

}  // namespace

const std::vector<Instance>& TestInstances() {
    static const std::vector<Instance> instances = BuildInstances();
    return instances;
}

std::vector<std::string> TestEnumerators() {
    std::vector<std::string> names;
    for (const Instance& instance : TestInstances()) {
        if (std::find(names.begin(), names.end(), instance.enumerator) == names.end()) {
            names.push_back(instance.enumerator);
        }
    }
    names.push_back("QDAXTEST_C");  // no devices at all
    return names;
}

std::string RemovalFile() {
    std::string file = kFileHeader;
    for (const std::string& enumerator : TestEnumerators()) {
        file += "[-HKEY_LOCAL_MACHINE\\" + std::string(kTreeRoot) + "\\" + enumerator + "]\r\n\r\n";
    }
    return file;
}

std::string AdditionFile() {
    std::string file = kFileHeader;
    const std::string root = kTreeRoot;
    for (const Instance& instance : TestInstances()) {
        const std::string path =
            root + "\\" + instance.enumerator + "\\" + instance.device + "\\" + instance.instance;
        file += KeyLine(path);
        for (const RegistryValue& value : instance.values) file += ValueLine(value);
        file += "\r\n";
        if (!instance.deviceParameters.empty()) {
            file += KeyLine(path + "\\Device Parameters");
            for (const RegistryValue& value : instance.deviceParameters) file += ValueLine(value);
            file += "\r\n";
        }
    }
    // A device without instances, and an enumerator without devices.
    file += KeyLine(root + "\\QDAXTEST_A\\EMPTY_DEVICE") + "\r\n";
    file += KeyLine(root + "\\QDAXTEST_C") + "\r\n";
    return file;
}

std::string FormatListedPort(const ListedPort& port) {
    return port.enumerator + "|" + port.portName + "|" + port.friendlyName;
}

ListedPort ParseListedPort(const std::string& line) {
    const std::size_t first = line.find('|');
    const std::size_t second = line.find('|', first + 1);
    return {line.substr(0, first), line.substr(first + 1, second - first - 1),
            line.substr(second + 1)};
}

bool ListSystemPorts(std::vector<ListedPort>& ports, DWORD& error) {
    ports.clear();
    if (EnumerateSerialPorts(&CollectPort, &ports)) return true;
    error = platform::GetLastError();
    return false;
}

}  // namespace wine_registry
