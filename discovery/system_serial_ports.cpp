#include "discovery/serial_port_discovery.h"
#include "discovery/walk_support.h"

bool EnumerateSerialPorts(PortEntryCallback callback, void* userData) {
    // Without a callback the machine's registry is not even looked at.
    if (callback == nullptr) return discovery::ReportOutcome(ERROR_INVALID_PARAMETER);
    return EnumerateSerialPorts(platform::SystemRegistry(), callback, userData);
}
