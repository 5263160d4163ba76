// Test doubles for the registry walks: a registry that logs the walk's calls and fails chosen
// ones, a callback that collects the ports handed over, and a fixture that proves every key and
// buffer was given back.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "discovery/serial_port_discovery.h"
#include "platform/memory_registry.h"

inline constexpr const char* kNtTreeRoot = "SYSTEM\\CURRENTCONTROLSET\\ENUM";
inline constexpr const char* kDeviceMap = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
inline constexpr const char* kPortsGuid = "{4D36E978-E325-11CE-BFC1-08002BE10318}";

// Logs each call as "<operation> <key path>[ <value name, index or access rights>]", the key path
// as the walk built it from the names it passed, and fails the reads it was told to fail.
class RecordingRegistry : public platform::InMemoryRegistry {
public:
    // Reads of `valueName` in the key at `keyPath`, or in any key when it is empty, fail.
    void FailQuery(const std::string& valueName, LONG code, const std::string& keyPath = "") {
        queryFailures_[{keyPath, valueName}] = code;
    }
    void FailEnumKeys(const std::string& keyPath, LONG code) { enumKeyFailures_[keyPath] = code; }
    void FailEnumValues(LONG code) { enumValueFailure_ = code; }

    // The capacities a RegEnumValueA call was given, in call order.
    struct ValueOffer {
        DWORD index;
        DWORD nameChars;
        DWORD dataBytes;
        bool operator==(const ValueOffer&) const = default;
        friend void PrintTo(const ValueOffer& o, std::ostream* os) {
            *os << "{" << o.index << ", " << o.nameChars << ", " << o.dataBytes << "}";
        }
    };
    const std::vector<ValueOffer>& ValueOffers() const { return valueOffers_; }

    // How many logged calls begin with `prefix`.
    std::size_t Calls(const std::string& prefix) const;
    const std::vector<std::string>& Log() const { return log_; }

    LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                       HKEY* result) override;
    LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameChars) override;
    LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameChars, BYTE* data,
                       DWORD* dataBytes) override;
    LONG RegQueryValueExA(HKEY key, const char* valueName, BYTE* data, DWORD* dataBytes) override;
    LONG RegCloseKey(HKEY key) override;
    BOOL GetVersionExA(OSVERSIONINFOA* info) override;

private:
    std::string PathOf(HKEY key) const;

    std::vector<std::string> log_;
    std::map<HKEY, std::string> paths_;
    std::vector<ValueOffer> valueOffers_;
    std::map<std::pair<std::string, std::string>, LONG> queryFailures_;  // by key path, value
    std::map<std::string, LONG> enumKeyFailures_;
    LONG enumValueFailure_ = ERROR_SUCCESS;
};

struct SeenPort {
    std::string portName;
    std::string friendlyName;
    std::string enumeratorName;
    bool friendlyIsPortText = false;  // both fields point to one text
    std::size_t openKeys = 0;         // keys open while the callback ran

    bool operator==(const SeenPort&) const = default;
};

// Copies every port handed over; answers false for the port numbered `stopAt` (1-based).
class PortCollector {
public:
    explicit PortCollector(const platform::InMemoryRegistry& registry) : registry_(registry) {}

    static bool Collect(void* collector, const PortEntry* entry);
    std::vector<std::string> PortNames() const;

    std::vector<SeenPort> seen;
    std::size_t stopAt = 0;

private:
    const platform::InMemoryRegistry& registry_;
};

// A value's bytes: the text's characters alone, or followed by one NUL.
inline std::vector<BYTE> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}
inline std::vector<BYTE> Text(const std::string& text) {
    return Bytes(text + '\0');
}

// A ports-class instance below `root`: CLASS "Ports", its PORTNAME, and a FRIENDLYNAME unless
// `friendlyName` is empty.
void AddPortInstance(platform::InMemoryRegistry& registry, const std::string& instancePath,
                     const std::string& portName, const std::string& friendlyName = "",
                     const std::string& root = kNtTreeRoot);

class RegistryWalkTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(registry.OpenKeyCount(), 0u) << "a key was left open";
        EXPECT_EQ(registry.LiveAllocationCount(), 0u) << "a buffer was not released";
    }

    bool WalkTree(const char* root = kNtTreeRoot) {
        return EnumerateDeviceTreePorts(registry, root, &PortCollector::Collect, &ports);
    }
    bool WalkMap() { return EnumerateDeviceMapPorts(registry, &PortCollector::Collect, &ports); }

    RecordingRegistry registry;
    PortCollector ports{registry};
};

// Names a table's tests after the rows' titles.
struct NameByTitle {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return info.param.title;
    }
};

template <typename Case>
class RegistryWalkTableTest : public RegistryWalkTest,
                              public ::testing::WithParamInterface<Case> {};
