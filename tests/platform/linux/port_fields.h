// Views of scanned ports that tests compare and print.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "platform/linux/linux_ports.h"

namespace linux_ports_test {

using PortFields =
    std::tuple<std::string, std::string, std::string, std::string, std::string, std::string>;

// comName, devicePath, enumerator, deviceId, instanceId, friendlyName.
inline PortFields FieldsOf(const platform::LinuxSerialPort& port) {
    return {port.comName,  port.devicePath, port.enumerator,
            port.deviceId, port.instanceId, port.friendlyName};
}

inline std::vector<std::string> InstanceIdsOf(const std::vector<platform::LinuxSerialPort>& ports) {
    std::vector<std::string> ids;
    for (const auto& port : ports) ids.push_back(port.instanceId);
    return ids;
}

}  // namespace linux_ports_test
