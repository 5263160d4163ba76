// Lists the serial ports installed on the machine by reading the registry, in the way that suits
// the running system's family, and hands each port at once to a callback that may stop the search.
#pragma once

#include "platform/registry.h"
#include "platform/win32_types.h"

// One port, as handed to the callback. The texts belong to the walk and are valid only until the
// callback returns.
struct PortEntry {
    const char* portName;        // the device name that opens the port: COM1, ...
    const char* friendlyName;    // the name shown to the operator
    const char* enumeratorName;  // the first-level key the device was found under; may be empty
};

// Returns true to go on, false to stop the search.
using PortEntryCallback = bool (*)(void* userData, const PortEntry* entry);

// True when the search ended normally (every port handed over, the callback stopped it, or there
// was nothing to list); false on failure, with the code in the calling thread's last-error slot.
// Ports handed over before a failure stay handed over.
bool EnumerateSerialPorts(PortEntryCallback callback, void* userData);
bool EnumerateSerialPorts(platform::RegistryApi& registry, PortEntryCallback callback,
                          void* userData);

// The two walks, with the contract of EnumerateSerialPorts.
bool EnumerateDeviceMapPorts(platform::RegistryApi& registry, PortEntryCallback callback,
                             void* userData);
bool EnumerateDeviceTreePorts(platform::RegistryApi& registry, const char* rootPath,
                              PortEntryCallback callback, void* userData);

// Fetches the name of the subkey at `index` of `key` and opens it with `access` into `*subkey`.
// With a name slot, the buffer holding the name is left in it for the caller to release (through
// the registry's Release); without one it is released here. Returns a system error code.
LONG OpenSubkeyByIndex(platform::RegistryApi& registry, HKEY key, DWORD index, REGSAM access,
                       HKEY* subkey, char** nameSlot);

// Reads the named value's data into a buffer allocated in `*slot` (releasing what was there).
// The buffer always holds a NUL after the bytes the registry returned, so its text never runs past
// them. The caller releases the buffer, whatever the result. Returns a system error code.
LONG QueryValueData(platform::RegistryApi& registry, HKEY key, const char* valueName, char** slot);
