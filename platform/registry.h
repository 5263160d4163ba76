// The read-only registry operations port discovery relies on, with the system's result codes,
// index order and case-blind name matching. Backends: an in-memory registry (tests and the Linux
// port view) and, on Windows, the system registry.
#pragma once

#include <cstddef>

#include "platform/win32_types.h"

namespace platform {

class RegistryApi {
public:
    virtual ~RegistryApi() = default;

    // Opens `subKey` (a path of names separated by backslashes, or empty for the key itself)
    // below `key`. ERROR_FILE_NOT_FOUND when it does not exist.
    virtual LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                               HKEY* result) = 0;

    // Name of the subkey at `index`. `nameChars` holds the capacity in characters, terminating
    // NUL included; on success it receives the length without the NUL. ERROR_MORE_DATA leaves it
    // as it was; ERROR_NO_MORE_ITEMS past the last subkey.
    virtual LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameChars) = 0;

    // Name and data of the value at `index`. ERROR_MORE_DATA when either buffer is too small;
    // then `dataBytes` receives the size needed if the data does not fit.
    virtual LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameChars, BYTE* data,
                               DWORD* dataBytes) = 0;

    // Data of the named value. ERROR_FILE_NOT_FOUND when it does not exist; ERROR_MORE_DATA with
    // `dataBytes` set to the size needed when the buffer is too small.
    virtual LONG RegQueryValueExA(HKEY key, const char* valueName, BYTE* data,
                                  DWORD* dataBytes) = 0;

    virtual LONG RegCloseKey(HKEY key) = 0;

    virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;

    // Storage for the walks' name and data buffers; nullptr when it cannot be had.
    virtual void* Allocate(std::size_t bytes) = 0;
    virtual void Release(void* block) = 0;
};

// The registry of this machine: the system's on Windows, the Linux port view elsewhere, taken
// from the port sources configured at start-up (platform/port_sources.h).
RegistryApi& SystemRegistry();

}  // namespace platform
