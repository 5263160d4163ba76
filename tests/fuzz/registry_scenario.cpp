#include "tests/fuzz/registry_scenario.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace qdax_fuzz {

namespace {

constexpr std::size_t kMaxEnumerators = 4;
constexpr std::size_t kMaxDevices = 3;
constexpr std::size_t kMaxInstances = 4;
constexpr std::size_t kMaxMapValues = 6;
constexpr std::size_t kMaxStopAfter = 4;
constexpr std::size_t kMaxFailingAllocation = 400;
// Long enough to pass the walks' first buffer sizes (32 and 128) and make them grow.
constexpr std::size_t kMaxNameTail = 200;
constexpr std::size_t kMaxRandomData = 300;

constexpr std::array<std::string_view, 5> kClassTexts = {"PORTS", "PORT", "PORTSX", "MODEM", ""};
constexpr std::array<std::string_view, 3> kGuidTexts = {
    "{4D36E978-E325-11CE-BFC1-08002BE10318}",  // ports
    "{4D36E96D-E325-11CE-BFC1-08002BE10318}",  // modems
    "{4D36E978-E325-11CE-BFC1-08002BE1031}",
};
constexpr std::array<std::string_view, 9> kPortTexts = {"COM1", "COM",  "CO",    "C",   "",
                                                        "LPT1", "COMX", "COM12", "XCOM"};
constexpr std::array<std::string_view, 2> kFriendlyTexts = {"Communications Port (COM1)", ""};

// The same letters in a mix of case drawn from the input.
std::string MixCase(FuzzedDataProvider& input, std::string_view text) {
    const auto mask = input.ConsumeIntegral<std::uint8_t>();
    std::string mixed(text);
    for (std::size_t i = 0; i < mixed.size(); ++i) {
        const char c = mixed[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (letter && (mask >> (i % 8) & 1U) != 0) mixed[i] = static_cast<char>(c ^ 0x20);
    }
    return mixed;
}

// A name that differs from its siblings' whatever the case: a kind letter and the index, then
// any characters a key name may hold.
std::string UniqueName(FuzzedDataProvider& input, char kind, std::size_t index) {
    std::string name = std::string(1, kind) + std::to_string(index) + "_";
    for (const char c : input.ConsumeRandomLengthString(kMaxNameTail)) {
        if (c != '\0' && c != '\\') name.push_back(c);
    }
    return name;
}

LONG Refusal(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange<int>(0, 15)) {
        case 12:
            return ERROR_ACCESS_DENIED;
        case 13:
            return ERROR_FILE_NOT_FOUND;
        case 14:
            return ERROR_NO_MORE_ITEMS;
        case 15: {
            const auto code = input.ConsumeIntegral<LONG>();
            return code == ERROR_SUCCESS ? ERROR_GEN_FAILURE : code;
        }
        default:
            return ERROR_SUCCESS;
    }
}

KeySpec Key(FuzzedDataProvider& input, std::string name) {
    return {std::move(name), Refusal(input)};
}

// Mostly one of the texts that matter to the walk, stored with or without its NUL and with or
// without something after it; otherwise any bytes.
template <std::size_t N>
std::vector<BYTE> Data(FuzzedDataProvider& input, const std::array<std::string_view, N>& texts) {
    if (input.ConsumeIntegralInRange<int>(0, 3) == 3) {
        return input.ConsumeBytes<BYTE>(
            input.ConsumeIntegralInRange<std::size_t>(0, kMaxRandomData));
    }
    const std::string text =
        MixCase(input, texts[input.ConsumeIntegralInRange<std::size_t>(0, N - 1)]);
    std::vector<BYTE> data(text.begin(), text.end());
    const std::string tail = input.ConsumeRandomLengthString(kMaxNameTail);
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            data.push_back(0);
            break;
        case 1:  // no terminating NUL
            break;
        case 2:  // something after the NUL
            data.push_back(0);
            data.insert(data.end(), tail.begin(), tail.end());
            break;
        default:  // a longer text
            data.insert(data.end(), tail.begin(), tail.end());
            data.push_back(0);
            break;
    }
    return data;
}

template <std::size_t N>
std::optional<ValueSpec> MaybeValue(FuzzedDataProvider& input, std::string_view name,
                                    const std::array<std::string_view, N>& texts) {
    if (!input.ConsumeBool()) return std::nullopt;
    std::string storedName = MixCase(input, name);
    return ValueSpec{std::move(storedName), Data(input, texts)};
}

InstanceSpec Instance(FuzzedDataProvider& input, std::size_t index) {
    InstanceSpec instance;
    instance.key = Key(input, UniqueName(input, 'I', index));
    instance.className = MaybeValue(input, "CLASS", kClassTexts);
    instance.classGuid = MaybeValue(input, "CLASSGUID", kGuidTexts);
    instance.portName = MaybeValue(input, "PORTNAME", kPortTexts);
    instance.friendlyName = MaybeValue(input, "FRIENDLYNAME", kFriendlyTexts);
    if (input.ConsumeBool()) {
        instance.parameters = Key(input, MixCase(input, "DEVICE PARAMETERS"));
        instance.parametersPortName = MaybeValue(input, "PORTNAME", kPortTexts);
    }
    return instance;
}

DeviceSpec Device(FuzzedDataProvider& input, std::size_t index) {
    DeviceSpec device{Key(input, UniqueName(input, 'D', index)), {}};
    const auto count = input.ConsumeIntegralInRange<std::size_t>(0, kMaxInstances);
    for (std::size_t i = 0; i < count; ++i) device.instances.push_back(Instance(input, i));
    return device;
}

EnumeratorSpec Enumerator(FuzzedDataProvider& input, std::size_t index) {
    EnumeratorSpec enumerator{Key(input, UniqueName(input, 'E', index)), {}};
    const auto count = input.ConsumeIntegralInRange<std::size_t>(0, kMaxDevices);
    for (std::size_t d = 0; d < count; ++d) enumerator.devices.push_back(Device(input, d));
    return enumerator;
}

void AddKey(platform::InMemoryRegistry& registry, const std::string& path, const KeySpec& key) {
    registry.AddKey(path);
    if (key.refusal != ERROR_SUCCESS) registry.RefuseOpen(path, key.refusal);
}

void AddValue(platform::InMemoryRegistry& registry, const std::string& path,
              const std::optional<ValueSpec>& value) {
    if (value) registry.SetValue(path, value->name, value->data);
}

void BuildInstance(platform::InMemoryRegistry& registry, const std::string& devicePath,
                   const InstanceSpec& instance) {
    const std::string path = devicePath + "\\" + instance.key.name;
    AddKey(registry, path, instance.key);
    AddValue(registry, path, instance.className);
    AddValue(registry, path, instance.classGuid);
    AddValue(registry, path, instance.portName);
    AddValue(registry, path, instance.friendlyName);
    if (instance.parameters) {
        const std::string parametersPath = path + "\\" + instance.parameters->name;
        AddKey(registry, parametersPath, *instance.parameters);
        AddValue(registry, parametersPath, instance.parametersPortName);
    }
}

void BuildTree(platform::InMemoryRegistry& registry, const RegistryScenario& scenario) {
    const std::string& root = scenario.treeRoot->name;
    AddKey(registry, root, *scenario.treeRoot);
    for (const EnumeratorSpec& enumerator : scenario.enumerators) {
        const std::string enumeratorPath = root + "\\" + enumerator.key.name;
        AddKey(registry, enumeratorPath, enumerator.key);
        for (const DeviceSpec& device : enumerator.devices) {
            const std::string devicePath = enumeratorPath + "\\" + device.key.name;
            AddKey(registry, devicePath, device.key);
            for (const InstanceSpec& instance : device.instances) {
                BuildInstance(registry, devicePath, instance);
            }
        }
    }
}

}  // namespace

RegistryScenario DecodeScenario(FuzzedDataProvider& input) {
    RegistryScenario scenario;
    scenario.platformId = input.ConsumeIntegralInRange<DWORD>(0, 3);
    scenario.majorVersion = input.ConsumeIntegralInRange<DWORD>(0, 7);
    scenario.withCallback = input.ConsumeIntegralInRange<int>(0, 31) != 31;
    if (input.ConsumeBool()) {
        scenario.stopAfter = input.ConsumeIntegralInRange<std::size_t>(1, kMaxStopAfter);
    }
    if (input.ConsumeBool()) {
        scenario.failingAllocation =
            input.ConsumeIntegralInRange<std::size_t>(1, kMaxFailingAllocation);
    }

    if (input.ConsumeIntegralInRange<int>(0, 7) != 7) {
        const bool windows95 = input.ConsumeBool();
        scenario.treeRoot =
            Key(input, MixCase(input, windows95 ? "ENUM" : "SYSTEM\\CURRENTCONTROLSET\\ENUM"));
        const auto count = input.ConsumeIntegralInRange<std::size_t>(0, kMaxEnumerators);
        for (std::size_t e = 0; e < count; ++e)
            scenario.enumerators.push_back(Enumerator(input, e));
    }

    if (input.ConsumeIntegralInRange<int>(0, 7) != 7) {
        scenario.deviceMap = Key(input, MixCase(input, "HARDWARE\\DEVICEMAP\\SERIALCOMM"));
        const auto count = input.ConsumeIntegralInRange<std::size_t>(0, kMaxMapValues);
        for (std::size_t v = 0; v < count; ++v) {
            std::string name = UniqueName(input, 'V', v);
            scenario.deviceMapValues.push_back({std::move(name), Data(input, kPortTexts)});
        }
    }
    return scenario;
}

void Build(const RegistryScenario& scenario, platform::InMemoryRegistry& registry) {
    registry.SetVersion(scenario.platformId, scenario.majorVersion);
    if (scenario.failingAllocation != 0) registry.FailAllocationNumber(scenario.failingAllocation);
    if (scenario.treeRoot) BuildTree(registry, scenario);
    if (scenario.deviceMap) {
        AddKey(registry, scenario.deviceMap->name, *scenario.deviceMap);
        for (const ValueSpec& value : scenario.deviceMapValues) {
            registry.SetValue(scenario.deviceMap->name, value.name, value.data);
        }
    }
}

}  // namespace qdax_fuzz
