// The device tree that the Wine registry test puts into the prefix's registry, below the system's
// own enumerators: instances that are ports and instances that must be passed over. One table
// drives both the registry file that is imported and what the test expects to be listed.
#pragma once

#include <string>
#include <vector>

#include "platform/win32_types.h"

namespace wine_registry {

inline constexpr const char* kTreeRoot = "SYSTEM\\CurrentControlSet\\Enum";

struct RegistryValue {
    std::string name;
    std::string data;
    bool terminated = true;  // stored with a NUL at the end, as text is; otherwise raw bytes
};

struct Instance {
    std::string enumerator;
    std::string device;
    std::string instance;
    std::vector<RegistryValue> values;
    std::vector<RegistryValue> deviceParameters;  // values of its "Device Parameters" subkey
    bool listed = false;
    std::string portName;      // as it must be handed over, when listed
    std::string friendlyName;  // likewise
};

// In the order they are written to the registry file, which is not the registry's index order.
const std::vector<Instance>& TestInstances();

// Enumerators of the test's own, some of them without a single port.
std::vector<std::string> TestEnumerators();

// Registry files: one that removes every key of the test, one that adds them.
std::string RemovalFile();
std::string AdditionFile();

// One port as the registry test records it: "enumerator|port name|friendly name".
struct ListedPort {
    std::string enumerator;
    std::string portName;
    std::string friendlyName;
    bool operator==(const ListedPort&) const = default;
};
std::string FormatListedPort(const ListedPort& port);
ListedPort ParseListedPort(const std::string& line);

// Every port that EnumerateSerialPorts hands over from the system registry, in its order; empty
// and false with the last-error code in `error` when it fails.
bool ListSystemPorts(std::vector<ListedPort>& ports, DWORD& error);

}  // namespace wine_registry
