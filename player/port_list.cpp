#include "player/port_list.h"

#include "discovery/serial_port_discovery.h"

namespace {

bool PrintPort(void* userData, const PortEntry* entry) {
    std::fprintf(static_cast<std::FILE*>(userData), "%s\t%s\t%s\n", entry->portName,
                 entry->friendlyName, entry->enumeratorName);
    return true;
}

}  // namespace

bool ListPorts(std::FILE* out) {
    return EnumerateSerialPorts(PrintPort, out);
}
