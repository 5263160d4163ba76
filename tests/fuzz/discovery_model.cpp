#include "tests/fuzz/discovery_model.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace qdax_fuzz {

namespace {

constexpr std::string_view kWindows95Root = "ENUM";
constexpr std::string_view kWindowsNtRoot = "SYSTEM\\CURRENTCONTROLSET\\ENUM";
constexpr std::size_t kClassBuffer = 6;
constexpr std::size_t kClassGuidBuffer = 39;

bool SameLetters(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return fold(x) == fold(y); });
}

// A value's data read as text: up to its first NUL, or all of it.
std::string Text(const ValueSpec& value) {
    const auto end = std::find(value.data.begin(), value.data.end(), BYTE{0});
    return {value.data.begin(), end};
}

// A value read into a buffer of fixed size, never retried: data that does not fit is no match.
bool FixedSizeMatch(const std::optional<ValueSpec>& value, std::size_t buffer,
                    std::string_view expected) {
    return value && value->data.size() <= buffer && SameLetters(Text(*value), expected);
}

bool IsPortsInstance(const InstanceSpec& instance) {
    return FixedSizeMatch(instance.className, kClassBuffer, "PORTS") ||
           FixedSizeMatch(instance.classGuid, kClassGuidBuffer,
                          "{4D36E978-E325-11CE-BFC1-08002BE10318}");
}

std::optional<std::string> PortName(const InstanceSpec& instance) {
    if (instance.portName) return Text(*instance.portName);
    const bool parametersOpen =
        instance.parameters && instance.parameters->refusal == ERROR_SUCCESS;
    if (parametersOpen && instance.parametersPortName) return Text(*instance.parametersPortName);
    return std::nullopt;
}

class Search {
public:
    explicit Search(const RegistryScenario& scenario) : scenario_(scenario) {}

    SearchOutcome Tree(std::string_view rootPath) {
        outcome_.walk = Walk::DeviceTree;
        if (!scenario_.treeRoot || !SameLetters(scenario_.treeRoot->name, rootPath)) {
            return Fail(ERROR_FILE_NOT_FOUND);
        }
        if (scenario_.treeRoot->refusal != ERROR_SUCCESS) return Fail(scenario_.treeRoot->refusal);
        for (const EnumeratorSpec& enumerator : scenario_.enumerators) {
            // A key that reports the end of the list when opened ends its level.
            if (enumerator.key.refusal == ERROR_NO_MORE_ITEMS) break;
            if (enumerator.key.refusal != ERROR_SUCCESS) return Fail(enumerator.key.refusal);
            for (const DeviceSpec& device : enumerator.devices) {
                if (device.key.refusal == ERROR_NO_MORE_ITEMS) break;
                if (device.key.refusal != ERROR_SUCCESS) return Fail(device.key.refusal);
                for (const InstanceSpec& instance : device.instances) {
                    if (instance.key.refusal == ERROR_NO_MORE_ITEMS) break;
                    if (instance.key.refusal != ERROR_SUCCESS) return Fail(instance.key.refusal);
                    if (Offer(enumerator, instance)) return outcome_;
                }
            }
        }
        return outcome_;
    }

    SearchOutcome DeviceMap() {
        outcome_.walk = Walk::DeviceMap;
        if (!scenario_.deviceMap || scenario_.deviceMap->refusal == ERROR_FILE_NOT_FOUND) {
            return outcome_;
        }
        if (scenario_.deviceMap->refusal != ERROR_SUCCESS)
            return Fail(scenario_.deviceMap->refusal);
        for (const ValueSpec& value : scenario_.deviceMapValues) {
            if (Hand({Text(value), Text(value), ""})) break;
        }
        return outcome_;
    }

    SearchOutcome Fail(DWORD code) {
        outcome_.succeeded = false;
        outcome_.code = code;
        return outcome_;
    }

private:
    // True when the callback stops the search here.
    bool Offer(const EnumeratorSpec& enumerator, const InstanceSpec& instance) {
        if (!IsPortsInstance(instance)) return false;
        const std::optional<std::string> portName = PortName(instance);
        if (!portName || !SameLetters(portName->substr(0, 3), "COM")) return false;
        const std::string friendlyName =
            instance.friendlyName ? Text(*instance.friendlyName) : *portName;
        return Hand({*portName, friendlyName, enumerator.key.name});
    }

    bool Hand(PortRecord port) {
        outcome_.ports.push_back(std::move(port));
        return outcome_.ports.size() == scenario_.stopAfter;
    }

    const RegistryScenario& scenario_;
    SearchOutcome outcome_;
};

}  // namespace

SearchOutcome ExpectedSearch(const RegistryScenario& scenario) {
    Search search(scenario);
    if (!scenario.withCallback) return search.Fail(ERROR_INVALID_PARAMETER);
    if (scenario.platformId == VER_PLATFORM_WIN32_WINDOWS) return search.Tree(kWindows95Root);
    if (scenario.platformId == VER_PLATFORM_WIN32_NT && scenario.majorVersion == 4) {
        return search.DeviceMap();
    }
    if (scenario.platformId == VER_PLATFORM_WIN32_NT && scenario.majorVersion > 4) {
        return search.Tree(kWindowsNtRoot);
    }
    return search.Fail(ERROR_OLD_WIN_VERSION);
}

}  // namespace qdax_fuzz
