// What a port search over a registry scenario should give, worked out from the scenario's data
// alone: which walk the version picks, the ports in discovery order and how the search ends.
// Allocation failures are left out; the fuzzer checks those against this outcome.
#pragma once

#include <string>
#include <vector>

#include "platform/win32_types.h"
#include "tests/fuzz/registry_scenario.h"

namespace qdax_fuzz {

struct PortRecord {
    std::string portName;
    std::string friendlyName;
    std::string enumeratorName;
    bool operator==(const PortRecord&) const = default;
};

enum class Walk { None, DeviceMap, DeviceTree };

struct SearchOutcome {
    Walk walk = Walk::None;
    bool succeeded = true;
    DWORD code = ERROR_SUCCESS;  // the failure code when not succeeded
    std::vector<PortRecord> ports;
};

SearchOutcome ExpectedSearch(const RegistryScenario& scenario);

}  // namespace qdax_fuzz
