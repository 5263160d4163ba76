#include "discovery/walk_support.h"

#include "platform/last_error.h"

namespace discovery {

bool ReplaceBuffer(platform::RegistryApi& registry, char** slot, std::size_t bytes) {
    ReleaseBuffer(registry, slot);
    *slot = static_cast<char*>(registry.Allocate(bytes));
    return *slot != nullptr;
}

void ReleaseBuffer(platform::RegistryApi& registry, char** slot) {
    if (*slot == nullptr) return;
    registry.Release(*slot);
    *slot = nullptr;
}

LONG OpenKey(platform::RegistryApi& registry, HKEY parent, const char* path, REGSAM access,
             HKEY* slot) {
    HKEY opened = nullptr;
    const LONG code = registry.RegOpenKeyExA(parent, path, 0, access, &opened);
    *slot = code == ERROR_SUCCESS ? opened : nullptr;
    return code;
}

void CloseKeySlot(platform::RegistryApi& registry, HKEY* slot) {
    if (*slot == nullptr) return;
    registry.RegCloseKey(*slot);
    *slot = nullptr;
}

bool ReportOutcome(LONG code) {
    if (code == ERROR_SUCCESS) return true;
    platform::SetLastError(static_cast<DWORD>(code));
    return false;
}

}  // namespace discovery
