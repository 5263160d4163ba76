// The Linux port view: a read-only, registry-shaped snapshot of the machine's serial ports below
// "SYSTEM\CURRENTCONTROLSET\ENUM", reporting Windows NT 10 so the device-tree walk runs unchanged.
#pragma once

#include <memory>

#include "platform/memory_registry.h"
#include "platform/port_sources.h"

namespace platform {

std::unique_ptr<InMemoryRegistry> BuildLinuxPortRegistry(const PortSources& sources);

// The version the view reports.
OSVERSIONINFOA LinuxPortViewVersion();

}  // namespace platform
