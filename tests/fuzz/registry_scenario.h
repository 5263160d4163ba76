// A registry described as plain data, decoded from fuzzer input: a device tree (enumerators,
// devices, instances with their class, port and display names), a serial device map, key
// refusals, a failing allocation, the reported version and when the callback asks to stop.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory_registry.h"
#include "platform/win32_types.h"

class FuzzedDataProvider;

namespace qdax_fuzz {

struct ValueSpec {
    std::string name;  // as stored, in any mix of case
    std::vector<BYTE> data;
};

struct KeySpec {
    std::string name;
    LONG refusal = ERROR_SUCCESS;  // opening the key fails with this code unless 0
};

struct InstanceSpec {
    KeySpec key;
    std::optional<ValueSpec> className;
    std::optional<ValueSpec> classGuid;
    std::optional<ValueSpec> portName;
    std::optional<ValueSpec> friendlyName;
    std::optional<KeySpec> parameters;  // the "DEVICE PARAMETERS" subkey
    std::optional<ValueSpec> parametersPortName;
};

struct DeviceSpec {
    KeySpec key;
    std::vector<InstanceSpec> instances;
};

struct EnumeratorSpec {
    KeySpec key;
    std::vector<DeviceSpec> devices;
};

struct RegistryScenario {
    DWORD platformId = 0;
    DWORD majorVersion = 0;
    bool withCallback = true;
    std::size_t stopAfter = 0;          // the callback returns false on this call; 0: never
    std::size_t failingAllocation = 0;  // 1-based; 0: none fails

    std::optional<KeySpec> treeRoot;  // its name is the whole path below HKEY_LOCAL_MACHINE
    std::vector<EnumeratorSpec> enumerators;

    std::optional<KeySpec> deviceMap;
    std::vector<ValueSpec> deviceMapValues;
};

RegistryScenario DecodeScenario(FuzzedDataProvider& input);

// Puts the scenario into an empty in-memory registry.
void Build(const RegistryScenario& scenario, platform::InMemoryRegistry& registry);

}  // namespace qdax_fuzz
