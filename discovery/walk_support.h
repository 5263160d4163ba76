// Buffer, key and outcome handling shared by the registry walks.
#pragma once

#include <cstddef>

#include "platform/registry.h"
#include "platform/win32_types.h"

namespace discovery {

// Releases the buffer in `*slot` and allocates a fresh one of `bytes` there. False, with the slot
// empty, when the registry cannot supply it.
bool ReplaceBuffer(platform::RegistryApi& registry, char** slot, std::size_t bytes);

// Releases the buffer in `*slot`, if any, and empties the slot.
void ReleaseBuffer(platform::RegistryApi& registry, char** slot);

// Opens `path` below `parent` into `*slot`; the slot is left empty when the open fails.
LONG OpenKey(platform::RegistryApi& registry, HKEY parent, const char* path, REGSAM access,
             HKEY* slot);

// Closes the key in `*slot`, if it holds one, and empties the slot.
void CloseKeySlot(platform::RegistryApi& registry, HKEY* slot);

// The boolean result of a search: true for ERROR_SUCCESS, otherwise false with the code left in
// the calling thread's last-error slot.
bool ReportOutcome(LONG code);

}  // namespace discovery
