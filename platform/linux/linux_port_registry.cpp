// Each port becomes an instance of the ports class at ENUM\<enumerator>\<device>\<instance>.
// Keys keep their insertion order, so enumerators and devices are listed in the order of their
// first port, and the ports within one device in the scan's order.
#include "platform/linux/linux_port_registry.h"

#include <algorithm>

#include "platform/linux/linux_ports.h"

namespace platform {

namespace {

constexpr const char* kEnumRoot = "SYSTEM\\CURRENTCONTROLSET\\ENUM";

// Registry key names cannot hold the path separator, and an empty name would not be a key.
std::string KeyName(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '#');
    return text.empty() ? "#" : text;
}

void AddPort(InMemoryRegistry& registry, const LinuxSerialPort& port) {
    const std::string instance = std::string(kEnumRoot) + "\\" + KeyName(port.enumerator) + "\\" +
                                 KeyName(port.deviceId) + "\\" + KeyName(port.instanceId);
    registry.AddKey(instance);
    registry.SetString(instance, "CLASS", "Ports");
    registry.SetString(instance, "CLASSGUID", "{4D36E978-E325-11CE-BFC1-08002BE10318}");
    registry.SetString(instance, "FRIENDLYNAME", port.friendlyName);
    const std::string parameters = instance + "\\Device Parameters";
    registry.AddKey(parameters);
    registry.SetString(parameters, "PORTNAME", port.comName);
}

}  // namespace

OSVERSIONINFOA LinuxPortViewVersion() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    version.dwMajorVersion = 10;
    return version;
}

std::unique_ptr<InMemoryRegistry> BuildLinuxPortRegistry(const PortSources& sources) {
    auto registry = std::make_unique<InMemoryRegistry>();
    registry->SetVersion(LinuxPortViewVersion());
    registry->AddKey(kEnumRoot);
    for (const LinuxSerialPort& port : ScanSerialPorts(sources)) AddPort(*registry, port);
    return registry;
}

}  // namespace platform
