// Windows NT 4 lists its serial ports as the values of the serial device map: each value's data
// is a port name.
#include <algorithm>
#include <cstddef>

#include "discovery/serial_port_discovery.h"
#include "discovery/walk_support.h"

namespace {

constexpr const char* kDeviceMapPath = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr DWORD kFirstCapacity = 32;

// Reads the name and data of the value at `index` into fresh buffers, growing them until both fit.
// The data is NUL-terminated after the bytes returned.
LONG ReadValueAt(platform::RegistryApi& registry, HKEY key, DWORD index, char** name, char** data) {
    DWORD nameCapacity = kFirstCapacity;
    DWORD dataCapacity = kFirstCapacity;
    for (;;) {
        // The data buffer has one byte more than is offered, for the terminating NUL.
        if (!discovery::ReplaceBuffer(registry, name, nameCapacity) ||
            !discovery::ReplaceBuffer(registry, data, std::size_t{dataCapacity} + 1)) {
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        DWORD nameChars = nameCapacity;
        DWORD dataBytes = dataCapacity;
        const LONG code = registry.RegEnumValueA(key, index, *name, &nameChars,
                                                 reinterpret_cast<BYTE*>(*data), &dataBytes);
        if (code == ERROR_MORE_DATA) {
            nameCapacity = (nameChars + 1) * 2;
            dataCapacity = dataBytes;
            continue;
        }
        if (code == ERROR_SUCCESS) (*data)[std::min(dataBytes, dataCapacity)] = '\0';
        return code;
    }
}

LONG HandOverValues(platform::RegistryApi& registry, HKEY key, PortEntryCallback callback,
                    void* userData, char** name, char** data) {
    for (DWORD index = 0;; ++index) {
        const LONG code = ReadValueAt(registry, key, index, name, data);
        if (code == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
        if (code != ERROR_SUCCESS) return code;
        const PortEntry entry{*data, *data, ""};
        if (!callback(userData, &entry)) return ERROR_SUCCESS;
    }
}

}  // namespace

bool EnumerateDeviceMapPorts(platform::RegistryApi& registry, PortEntryCallback callback,
                             void* userData) {
    if (callback == nullptr) return discovery::ReportOutcome(ERROR_INVALID_PARAMETER);
    HKEY map = nullptr;
    LONG code = discovery::OpenKey(registry, HKEY_LOCAL_MACHINE, kDeviceMapPath, KEY_READ, &map);
    // Without the device map the machine simply has no serial ports.
    if (code == ERROR_FILE_NOT_FOUND) return true;
    if (code != ERROR_SUCCESS) return discovery::ReportOutcome(code);

    char* name = nullptr;
    char* data = nullptr;
    code = HandOverValues(registry, map, callback, userData, &name, &data);
    discovery::ReleaseBuffer(registry, &name);
    discovery::ReleaseBuffer(registry, &data);
    discovery::CloseKeySlot(registry, &map);
    return discovery::ReportOutcome(code);
}
