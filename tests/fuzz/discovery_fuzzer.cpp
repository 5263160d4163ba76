// Runs the port search over random in-memory registries, with refused keys, a failing allocation
// and a callback that may stop early, and compares what it hands over and how it ends with the
// scenario model. Every key it opened must be closed and every buffer released at the end.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "discovery/serial_port_discovery.h"
#include "platform/last_error.h"
#include "platform/memory_registry.h"
#include "tests/fuzz/discovery_model.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/registry_scenario.h"

namespace {

using qdax_fuzz::Check;

// Root, enumerator, device, instance and parameters: one key each at most.
constexpr std::size_t kMostKeysOpen = 5;
// The enumerator name, the port name and the display name.
constexpr std::size_t kMostBuffersHeld = 3;
// Left in the last-error slot before the search; a successful search must not touch it.
constexpr DWORD kUntouched = 0x5EED5EED;

struct Recorder {
    const platform::InMemoryRegistry& registry;
    std::size_t stopAfter;
    std::vector<qdax_fuzz::PortRecord> ports;
};

bool Record(void* userData, const PortEntry* entry) {
    Recorder& recorder = *static_cast<Recorder*>(userData);
    Check(entry != nullptr && entry->portName != nullptr && entry->friendlyName != nullptr &&
              entry->enumeratorName != nullptr,
          "every entry carries its three texts");
    Check(recorder.registry.OpenKeyCount() <= kMostKeysOpen, "a walk holds one key per level");
    Check(recorder.registry.LiveAllocationCount() <= kMostBuffersHeld,
          "a walk holds no more buffers than its texts");
    recorder.ports.push_back({entry->portName, entry->friendlyName, entry->enumeratorName});
    return recorder.ports.size() != recorder.stopAfter;
}

bool HasComPrefix(std::string_view name) {
    return name.size() >= 3 && (name[0] == 'C' || name[0] == 'c') &&
           (name[1] == 'O' || name[1] == 'o') && (name[2] == 'M' || name[2] == 'm');
}

bool IsPrefix(const std::vector<qdax_fuzz::PortRecord>& part,
              const std::vector<qdax_fuzz::PortRecord>& whole) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const qdax_fuzz::RegistryScenario scenario = qdax_fuzz::DecodeScenario(input);
    platform::InMemoryRegistry registry;
    qdax_fuzz::Build(scenario, registry);
    const qdax_fuzz::SearchOutcome expected = qdax_fuzz::ExpectedSearch(scenario);

    Recorder recorder{registry, scenario.stopAfter, {}};
    platform::SetLastError(kUntouched);
    const bool succeeded =
        EnumerateSerialPorts(registry, scenario.withCallback ? Record : nullptr, &recorder);
    const DWORD code = platform::GetLastError();

    Check(registry.OpenKeyCount() == 0, "every key opened is closed");
    Check(registry.LiveAllocationCount() == 0, "every buffer is released");
    if (expected.walk == qdax_fuzz::Walk::None) {
        Check(registry.OpenCallCount() == 0 && registry.AllocationCount() == 0,
              "a search that cannot start reads nothing");
    }
    if (expected.walk == qdax_fuzz::Walk::DeviceTree) {
        for (const qdax_fuzz::PortRecord& port : recorder.ports) {
            Check(HasComPrefix(port.portName), "the device tree hands over COM ports only");
        }
    }

    const bool allocationFailed =
        scenario.failingAllocation != 0 && registry.AllocationCount() >= scenario.failingAllocation;
    if (allocationFailed) {
        Check(!succeeded && code == ERROR_NOT_ENOUGH_MEMORY,
              "a failed allocation fails the search with ERROR_NOT_ENOUGH_MEMORY");
        Check(registry.AllocationCount() == scenario.failingAllocation,
              "nothing is allocated after a failed allocation");
        Check(IsPrefix(recorder.ports, expected.ports),
              "the ports before a failed allocation are those the registry lists first");
        return 0;
    }
    Check(succeeded == expected.succeeded, "the search ends as the registry calls for");
    Check(code == (succeeded ? kUntouched : expected.code),
          "a failure leaves its code, a success leaves the last error alone");
    Check(recorder.ports == expected.ports, "the ports handed over are those of the registry");
    return 0;
}
