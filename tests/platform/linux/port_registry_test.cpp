#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/linux_port_registry.h"
#include "platform/port_sources.h"
#include "platform/registry.h"
#include "tests/platform/linux/fake_sysfs.h"
#include "tests/support/temp_dir.h"

namespace {

using linux_ports_test::FakeSysfs;
using linux_ports_test::KernelLayout;
using platform::PortSources;
using platform::RegistryApi;
using qdax_test::TempDir;

constexpr const char* kEnumRoot = "SYSTEM\\CURRENTCONTROLSET\\ENUM";
constexpr const char* kPortsGuid = "{4D36E978-E325-11CE-BFC1-08002BE10318}";

// Walks the view as discovery does, through the registry operations only.
class RegistryReader {
public:
    explicit RegistryReader(RegistryApi& registry) : registry_(registry) {}

    HKEY Open(HKEY parent, const std::string& path) {
        HKEY key = nullptr;
        const LONG result = registry_.RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key);
        EXPECT_EQ(result, 0) << path;
        return result == 0 ? key : nullptr;
    }

    void Close(HKEY key) {
        if (key != nullptr) registry_.RegCloseKey(key);
    }

    std::vector<std::string> Subkeys(HKEY key) {
        std::vector<std::string> names;
        for (DWORD index = 0;; ++index) {
            char name[256];
            DWORD chars = sizeof name;
            const LONG result = registry_.RegEnumKeyExA(key, index, name, &chars);
            if (result == static_cast<LONG>(ERROR_NO_MORE_ITEMS)) break;
            EXPECT_EQ(result, 0);
            if (result != 0) break;
            names.emplace_back(name, chars);
        }
        return names;
    }

    std::vector<std::string> ValueNames(HKEY key) {
        std::vector<std::string> names;
        for (DWORD index = 0;; ++index) {
            char name[256];
            DWORD chars = sizeof name;
            BYTE data[512];
            DWORD bytes = sizeof data;
            const LONG result = registry_.RegEnumValueA(key, index, name, &chars, data, &bytes);
            if (result == static_cast<LONG>(ERROR_NO_MORE_ITEMS)) break;
            EXPECT_EQ(result, 0);
            if (result != 0) break;
            names.emplace_back(name, chars);
        }
        return names;
    }

    std::string Text(HKEY key, const char* valueName) {
        BYTE data[512];
        DWORD bytes = sizeof data;
        const LONG result = registry_.RegQueryValueExA(key, valueName, data, &bytes);
        EXPECT_EQ(result, 0) << valueName;
        if (result != 0 || bytes == 0) return "<unreadable>";
        EXPECT_EQ(data[bytes - 1], 0) << valueName << " is stored with its NUL";
        return std::string(reinterpret_cast<const char*>(data));
    }

private:
    RegistryApi& registry_;
};

// One instance as the walk sees it: "<enumerator>\<device>\<instance> <PORTNAME> <FRIENDLYNAME>".
std::vector<std::string> InstancesOf(RegistryApi& registry) {
    RegistryReader reader(registry);
    std::vector<std::string> instances;
    HKEY root = reader.Open(HKEY_LOCAL_MACHINE, kEnumRoot);
    for (const std::string& enumerator : reader.Subkeys(root)) {
        HKEY enumeratorKey = reader.Open(root, enumerator);
        for (const std::string& device : reader.Subkeys(enumeratorKey)) {
            HKEY deviceKey = reader.Open(enumeratorKey, device);
            for (const std::string& instance : reader.Subkeys(deviceKey)) {
                HKEY instanceKey = reader.Open(deviceKey, instance);
                const std::vector<std::string> values = {"CLASS", "CLASSGUID", "FRIENDLYNAME"};
                EXPECT_EQ(reader.ValueNames(instanceKey), values);
                EXPECT_EQ(reader.Text(instanceKey, "CLASS"), "Ports");
                EXPECT_EQ(reader.Text(instanceKey, "CLASSGUID"), kPortsGuid);
                EXPECT_EQ(reader.Subkeys(instanceKey),
                          std::vector<std::string>{"Device Parameters"});
                HKEY parameters = reader.Open(instanceKey, "Device Parameters");
                EXPECT_EQ(reader.ValueNames(parameters), std::vector<std::string>{"PORTNAME"});
                instances.push_back(enumerator + "\\" + device + "\\" + instance + " " +
                                    reader.Text(parameters, "PORTNAME") + " " +
                                    reader.Text(instanceKey, "FRIENDLYNAME"));
                reader.Close(parameters);
                reader.Close(instanceKey);
            }
            reader.Close(deviceKey);
        }
        reader.Close(enumeratorKey);
    }
    reader.Close(root);
    return instances;
}

class PortRegistryTest : public testing::Test {
protected:
    PortRegistryTest() : sysfs_(sysfsDir_.path()) {}

    PortSources Sources() const { return PortSources{sysfs_.root(), portsDir_.path()}; }
    void AddVirtualLink(const std::string& name) {
        std::filesystem::create_symlink("/dev/null", portsDir_.path() + "/" + name);
    }

    TempDir sysfsDir_;
    TempDir portsDir_;
    FakeSysfs sysfs_;
};

TEST_F(PortRegistryTest, GroupsPortsByEnumeratorDeviceAndInstance) {
    sysfs_.AddPnpUart("ttyS0", KernelLayout::Since65, 4);
    sysfs_.AddPlaceholderUart("ttyS1", KernelLayout::Since65);
    sysfs_.AddUsbSerial("ttyUSB0", {"0403", "6001", "FTDI", "FT232R USB UART"});
    sysfs_.AddUsbSerial("ttyUSB1", {"0403", "6001", "FTDI", "FT232R USB UART"});
    sysfs_.AddUsbAcm("ttyACM0", {"2341", "0043", "Arduino", "Arduino Uno"});
    sysfs_.AddVirtualTty("console");
    AddVirtualLink("COM7");

    auto registry = platform::BuildLinuxPortRegistry(Sources());
    const std::vector<std::string> expected = {
        "USB\\VID_2341&PID_0043\\ttyACM0 COM400 Arduino Uno (/dev/ttyACM0)",
        "USB\\VID_0403&PID_6001\\ttyUSB0 COM300 FT232R USB UART (/dev/ttyUSB0)",
        "USB\\VID_0403&PID_6001\\ttyUSB1 COM301 FT232R USB UART (/dev/ttyUSB1)",
        "ACPI\\PNP0501\\ttyS0 COM1 Communications Port (/dev/ttyS0)",
        "ROOT\\PORTS\\COM7 COM7 Virtual Port COM7 (/dev/null)",
    };
    EXPECT_EQ(InstancesOf(*registry), expected);
    EXPECT_EQ(registry->OpenKeyCount(), 0u);
}

TEST_F(PortRegistryTest, HasTheEnumRootEvenWithoutPorts) {
    sysfs_.AddVirtualTty("tty0");
    auto registry = platform::BuildLinuxPortRegistry(Sources());
    RegistryReader reader(*registry);
    HKEY root = reader.Open(HKEY_LOCAL_MACHINE, kEnumRoot);
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(reader.Subkeys(root).empty());
    reader.Close(root);

    auto unconfigured = platform::BuildLinuxPortRegistry(PortSources{});
    EXPECT_TRUE(InstancesOf(*unconfigured).empty());
}

TEST_F(PortRegistryTest, ReportsWindowsNt10) {
    auto registry = platform::BuildLinuxPortRegistry(Sources());
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    registry->GetVersionExA(&version);
    EXPECT_EQ(version.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(version.dwMajorVersion, 10u);
}

// A backslash would split the key; a driver may carry one in its name.
TEST_F(PortRegistryTest, KeepsEachNameOneKey) {
    sysfs_.AddOnBoardUart("ttyAMA0", KernelLayout::Since65, "platform", "odd\\driver");
    auto registry = platform::BuildLinuxPortRegistry(Sources());
    EXPECT_EQ(InstancesOf(*registry),
              std::vector<std::string>{
                  "PLATFORM\\odd#driver\\ttyAMA0 COM500 Communications Port (/dev/ttyAMA0)"});
}

// Every call shows the ports of the sources configured at that moment.
TEST_F(PortRegistryTest, SystemRegistryFollowsTheConfiguredSources) {
    sysfs_.AddPnpUart("ttyS0", KernelLayout::Since65, 4);
    platform::ConfigurePortSources(Sources());
    EXPECT_EQ(
        InstancesOf(platform::SystemRegistry()),
        std::vector<std::string>{"ACPI\\PNP0501\\ttyS0 COM1 Communications Port (/dev/ttyS0)"});

    AddVirtualLink("COM9");
    EXPECT_EQ(InstancesOf(platform::SystemRegistry()).size(), 2u);

    platform::ConfigurePortSources(PortSources{});
    EXPECT_TRUE(InstancesOf(platform::SystemRegistry()).empty());
}

}  // namespace
