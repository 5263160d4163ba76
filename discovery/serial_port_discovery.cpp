#include "discovery/serial_port_discovery.h"

#include "discovery/walk_support.h"

bool EnumerateSerialPorts(platform::RegistryApi& registry, PortEntryCallback callback,
                          void* userData) {
    if (callback == nullptr) return discovery::ReportOutcome(ERROR_INVALID_PARAMETER);

    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    // A query that fills nothing leaves the record zero, which names no family handled here.
    static_cast<void>(registry.GetVersionExA(&version));

    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        return EnumerateDeviceTreePorts(registry, "ENUM", callback, userData);
    }
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (version.dwMajorVersion == 4) {
            return EnumerateDeviceMapPorts(registry, callback, userData);
        }
        if (version.dwMajorVersion > 4) {
            return EnumerateDeviceTreePorts(registry, "SYSTEM\\CURRENTCONTROLSET\\ENUM", callback,
                                            userData);
        }
    }
    return discovery::ReportOutcome(ERROR_OLD_WIN_VERSION);
}
