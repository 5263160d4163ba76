// The system's own words for an error code, as one line for a message.
#pragma once

#include <string>

#include "platform/win32_types.h"

namespace platform {

// The system's text for `code` without its line end, or "System error <code>" where the system
// has none.
std::string SystemErrorText(DWORD code);

}  // namespace platform
