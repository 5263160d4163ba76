// The calling thread's last-error slot, shared by every part of the platform layer.
#pragma once

#include "platform/win32_types.h"

namespace platform {

DWORD GetLastError();
void SetLastError(DWORD code);

}  // namespace platform
