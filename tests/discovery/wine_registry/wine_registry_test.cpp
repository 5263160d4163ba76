// Port discovery against the system registry of a Wine prefix, into which the test's own device
// tree was imported (see registry_ports.h). What the prefix held before comes from a listing taken
// before the import; the index order of the keys is read back from the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "discovery/serial_port_discovery.h"
#include "tests/discovery/wine_registry/registry_ports.h"

namespace {

using wine_registry::Instance;
using wine_registry::ListedPort;

// The names of the subkeys of HKEY_LOCAL_MACHINE\`path` in the registry's index order.
std::vector<std::string> SubkeyNames(const std::string& path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot open " << path;
        return names;
    }
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        if (::RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    ::RegCloseKey(key);
    return names;
}

std::size_t IndexOf(const std::vector<std::string>& names, const std::string& name) {
    const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& entry) {
        return _stricmp(entry.c_str(), name.c_str()) == 0;
    });
    EXPECT_NE(found, names.end()) << name << " is not in the registry";
    return static_cast<std::size_t>(found - names.begin());
}

std::vector<ListedPort> PortsListedBeforeTheImport() {
    std::vector<ListedPort> ports;
    const char* path = std::getenv("QDAX_WINE_REGISTRY_BASELINE");
    if (path == nullptr) {
        ADD_FAILURE() << "QDAX_WINE_REGISTRY_BASELINE names no listing";
        return ports;
    }
    std::ifstream listing(path);
    EXPECT_TRUE(listing) << "cannot read " << path;
    for (std::string line; std::getline(listing, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) ports.push_back(wine_registry::ParseListedPort(line));
    }
    return ports;
}

bool IsTestEnumerator(const std::string& name) {
    const std::vector<std::string> ours = wine_registry::TestEnumerators();
    return std::any_of(ours.begin(), ours.end(), [&](const std::string& enumerator) {
        return _stricmp(enumerator.c_str(), name.c_str()) == 0;
    });
}

// The test's ports of one enumerator, in the index order of its devices and their instances.
std::vector<ListedPort> TestPortsOf(const std::string& enumerator) {
    const std::string enumeratorPath = std::string(wine_registry::kTreeRoot) + "\\" + enumerator;
    const std::vector<std::string> devices = SubkeyNames(enumeratorPath);
    struct Placed {
        std::size_t device;
        std::size_t instance;
        const Instance* entry;
    };
    std::vector<Placed> placed;
    for (const Instance& instance : wine_registry::TestInstances()) {
        if (instance.enumerator != enumerator || !instance.listed) continue;
        const std::vector<std::string> instances =
            SubkeyNames(enumeratorPath + "\\" + instance.device);
        placed.push_back(
            {IndexOf(devices, instance.device), IndexOf(instances, instance.instance), &instance});
    }
    std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.device != b.device ? a.device < b.device : a.instance < b.instance;
    });
    std::vector<ListedPort> ports;
    for (const Placed& entry : placed) {
        ports.push_back({enumerator, entry.entry->portName, entry.entry->friendlyName});
    }
    return ports;
}

TEST(WineRegistry, TheSystemVersionSelectsTheDeviceTree) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(::GetVersionExA(&version));
    EXPECT_EQ(version.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_GT(version.dwMajorVersion, 4u) << "an NT 4 system would read the device map instead";
}

TEST(WineRegistry, DiscoveryListsExactlyThePortsOfTheTreeInIndexOrder) {
    const std::vector<ListedPort> before = PortsListedBeforeTheImport();
    for (const ListedPort& port : before) {
        ASSERT_FALSE(IsTestEnumerator(port.enumerator)) << "the test's keys were not removed";
    }

    std::vector<ListedPort> expected;
    for (const std::string& enumerator : SubkeyNames(wine_registry::kTreeRoot)) {
        if (IsTestEnumerator(enumerator)) {
            const std::vector<ListedPort> ours = TestPortsOf(enumerator);
            expected.insert(expected.end(), ours.begin(), ours.end());
            continue;
        }
        for (const ListedPort& port : before) {
            if (port.enumerator == enumerator) expected.push_back(port);
        }
    }
    ASSERT_GE(expected.size(), 5u) << "the test's ports are not all in the registry";

    std::vector<ListedPort> listed;
    DWORD error = 0;
    ASSERT_TRUE(wine_registry::ListSystemPorts(listed, error)) << "failed with code " << error;
    std::vector<std::string> listedLines, expectedLines;
    for (const ListedPort& port : listed) listedLines.push_back(FormatListedPort(port));
    for (const ListedPort& port : expected) expectedLines.push_back(FormatListedPort(port));
    EXPECT_EQ(listedLines, expectedLines);
}

TEST(WineRegistry, TheDeviceMapWalkHandsOverTheSystemsSerialDevices) {
    // Every value of the device map, in index order, read back with the system's own calls.
    std::vector<std::string> expected;
    HKEY key = nullptr;
    ASSERT_EQ(
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    for (DWORD index = 0;; ++index) {
        char name[512];
        BYTE data[512] = {};
        DWORD nameLength = sizeof name;
        DWORD dataLength = sizeof data - 1;
        if (::RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, data, &dataLength) !=
            ERROR_SUCCESS) {
            break;
        }
        expected.emplace_back(reinterpret_cast<const char*>(data));
    }
    ::RegCloseKey(key);
    ASSERT_FALSE(expected.empty()) << "Wine publishes at least its COM1 here";

    std::vector<std::string> listed;
    ASSERT_TRUE(EnumerateDeviceMapPorts(
        platform::SystemRegistry(),
        [](void* names, const PortEntry* entry) {
            EXPECT_EQ(entry->portName, entry->friendlyName);
            EXPECT_STREQ(entry->enumeratorName, "");
            static_cast<std::vector<std::string>*>(names)->push_back(entry->portName);
            return true;
        },
        &listed));
    EXPECT_EQ(listed, expected);
}

}  // namespace
