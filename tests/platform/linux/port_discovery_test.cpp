// The device-tree walk over the Linux port view, as the window lists the ports.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "discovery/serial_port_discovery.h"
#include "platform/linux/linux_port_registry.h"
#include "platform/port_sources.h"
#include "tests/platform/linux/fake_sysfs.h"
#include "tests/support/temp_dir.h"

namespace {

using linux_ports_test::FakeSysfs;
using linux_ports_test::KernelLayout;
using platform::PortSources;
using qdax_test::TempDir;

// "<portName>|<friendlyName>|<enumeratorName>" per port handed over.
bool CollectEntry(void* userData, const PortEntry* entry) {
    static_cast<std::vector<std::string>*>(userData)->push_back(
        std::string(entry->portName) + "|" + entry->friendlyName + "|" + entry->enumeratorName);
    return true;
}

struct NestedWalk {
    std::vector<std::string> outer;
    std::vector<std::vector<std::string>> inner;  // one whole list per outer port
};

// Lists the ports again from inside the callback of a walk that goes on afterwards.
bool CollectAndWalkAgain(void* userData, const PortEntry* entry) {
    auto& walk = *static_cast<NestedWalk*>(userData);
    CollectEntry(&walk.outer, entry);
    std::vector<std::string> inner;
    EXPECT_TRUE(EnumerateSerialPorts(CollectEntry, &inner));
    walk.inner.push_back(std::move(inner));
    return true;
}

class PortDiscoveryTest : public testing::Test {
protected:
    PortDiscoveryTest() : sysfs_(sysfsDir_.path()) {
        sysfs_.AddVirtualTty("console");
        sysfs_.AddPnpUart("ttyS0", KernelLayout::Since65, 4);
        sysfs_.AddPlaceholderUart("ttyS1", KernelLayout::Since65);
        sysfs_.AddUsbSerial("ttyUSB0", {"0403", "6001", "FTDI", "FT232R USB UART"});
        std::filesystem::create_symlink("/dev/null", portsDir_.path() + "/COM7");
    }

    PortSources Sources() const { return PortSources{sysfs_.root(), portsDir_.path()}; }

    const std::vector<std::string> expected_ = {
        "COM1|Communications Port (/dev/ttyS0)|ACPI",
        "COM300|FT232R USB UART (/dev/ttyUSB0)|USB",
        "COM7|Virtual Port COM7 (/dev/null)|ROOT",
    };

private:
    TempDir sysfsDir_;
    TempDir portsDir_;
    FakeSysfs sysfs_;
};

TEST_F(PortDiscoveryTest, WalksTheViewOfAFakeMachine) {
    auto registry = platform::BuildLinuxPortRegistry(Sources());
    std::vector<std::string> entries;
    ASSERT_TRUE(EnumerateSerialPorts(*registry, CollectEntry, &entries));
    EXPECT_EQ(entries, expected_);
    EXPECT_EQ(registry->OpenKeyCount(), 0u);
}

TEST_F(PortDiscoveryTest, MachineEntryWalksTheConfiguredSources) {
    platform::ConfigurePortSources(Sources());
    std::vector<std::string> entries;
    ASSERT_TRUE(EnumerateSerialPorts(CollectEntry, &entries));
    EXPECT_EQ(entries, expected_);
}

TEST_F(PortDiscoveryTest, WalkInsideAWalksCallbackLeavesBothWhole) {
    platform::ConfigurePortSources(Sources());
    NestedWalk walk;
    ASSERT_TRUE(EnumerateSerialPorts(CollectAndWalkAgain, &walk));
    EXPECT_EQ(walk.outer, expected_);
    EXPECT_EQ(walk.inner, std::vector(expected_.size(), expected_));
}

TEST_F(PortDiscoveryTest, WalksOnTwoThreadsEachListEveryPort) {
    platform::ConfigurePortSources(Sources());
    std::atomic<int> wholeLists = 0;
    const auto discover = [&] {
        for (int round = 0; round < 50; ++round) {
            std::vector<std::string> entries;
            if (EnumerateSerialPorts(CollectEntry, &entries) && entries == expected_) ++wholeLists;
        }
    };
    std::thread first(discover);
    std::thread second(discover);
    first.join();
    second.join();
    EXPECT_EQ(wholeLists, 100);
}

}  // namespace
