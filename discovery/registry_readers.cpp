// Reading one subkey name or one value's data, growing the buffer until the registry's answer fits.
#include <algorithm>

#include "discovery/serial_port_discovery.h"
#include "discovery/walk_support.h"

namespace {

constexpr DWORD kFirstNameCapacity = 128;
constexpr DWORD kFirstDataSize = 128;

LONG FetchNameAndOpen(platform::RegistryApi& registry, HKEY key, DWORD index, REGSAM access,
                      HKEY* subkey, char** nameSlot) {
    DWORD capacity = kFirstNameCapacity;
    for (;;) {
        if (!discovery::ReplaceBuffer(registry, nameSlot, capacity)) return ERROR_NOT_ENOUGH_MEMORY;
        DWORD chars = capacity;
        const LONG code = registry.RegEnumKeyExA(key, index, *nameSlot, &chars);
        if (code == ERROR_MORE_DATA) {
            capacity = (chars + 1) * 2;
            continue;
        }
        if (code != ERROR_SUCCESS) return code;
        return discovery::OpenKey(registry, key, *nameSlot, access, subkey);
    }
}

}  // namespace

LONG OpenSubkeyByIndex(platform::RegistryApi& registry, HKEY key, DWORD index, REGSAM access,
                       HKEY* subkey, char** nameSlot) {
    char* ownName = nullptr;
    *subkey = nullptr;
    const LONG code = FetchNameAndOpen(registry, key, index, access, subkey,
                                       nameSlot != nullptr ? nameSlot : &ownName);
    discovery::ReleaseBuffer(registry, &ownName);
    return code;
}

LONG QueryValueData(platform::RegistryApi& registry, HKEY key, const char* valueName, char** slot) {
    DWORD size = kFirstDataSize;
    for (;;) {
        // One byte more than is offered, for the NUL after whatever the registry returns.
        if (!discovery::ReplaceBuffer(registry, slot, std::size_t{size} + 1)) {
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        (*slot)[0] = '\0';
        DWORD bytes = size;
        const LONG code =
            registry.RegQueryValueExA(key, valueName, reinterpret_cast<BYTE*>(*slot), &bytes);
        if (code == ERROR_MORE_DATA) {
            size = bytes;
            continue;
        }
        if (code == ERROR_SUCCESS) (*slot)[std::min(bytes, size)] = '\0';
        return code;
    }
}
