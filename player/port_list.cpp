#include "player/port_list.h"

#include <string>

#include "discovery/serial_port_discovery.h"
#include "platform/standard_streams.h"

namespace {

bool PrintPort(void* userData, const PortEntry* entry) {
    platform::WriteSystemText(static_cast<std::FILE*>(userData),
                              std::string(entry->portName) + '\t' + entry->friendlyName + '\t' +
                                  entry->enumeratorName + '\n');
    return true;
}

}  // namespace

bool ListPorts(std::FILE* out) {
    return EnumerateSerialPorts(PrintPort, out);
}
