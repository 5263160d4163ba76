#include <algorithm>
#include <string>
#include <vector>

#include "platform/last_error.h"
#include "tests/discovery/discovery_test_support.h"

namespace {

// Ports whose names and data need every buffer of a walk to grow at least once.
void AddGrowingPorts(platform::InMemoryRegistry& registry) {
    registry.SetString(kDeviceMap, "\\Device\\Serial0", "COM1");
    registry.SetValue(kDeviceMap, std::string(40, 'N'), std::vector<BYTE>(60, 'C'));
    registry.SetString(kDeviceMap, "\\Device\\Serial2", "COM3");

    AddPortInstance(registry, "ACPI\\PNP0501\\1", "COM1", "One");
    const std::string fallback = std::string(kNtTreeRoot) + "\\ACPI\\PNP0501\\2";
    registry.SetString(fallback, "CLASS", "Ports");
    registry.SetString(fallback + "\\DEVICE PARAMETERS", "PORTNAME", "COM2");
    AddPortInstance(registry, std::string(200, 'E') + "\\D\\1", "COM3", std::string(300, 'F'));
    AddPortInstance(registry, "USB\\" + std::string(140, 'D') + "\\" + std::string(130, 'I'),
                    "COM" + std::string(150, '4'));
}

struct AllocationCase {
    const char* title;
    DWORD majorVersion;

    friend void PrintTo(const AllocationCase& c, std::ostream* os) { *os << c.title; }
};

const AllocationCase kAllocationCases[] = {{"DeviceMap", 4}, {"DeviceTree", 10}};

class AllocationTest : public ::testing::TestWithParam<AllocationCase> {};

TEST_P(AllocationTest, EachFailingAllocationEndsTheSearchCleanly) {
    RecordingRegistry whole;
    AddGrowingPorts(whole);
    whole.SetVersion(VER_PLATFORM_WIN32_NT, GetParam().majorVersion);
    PortCollector allPorts(whole);
    ASSERT_TRUE(EnumerateSerialPorts(whole, &PortCollector::Collect, &allPorts));
    ASSERT_EQ(allPorts.seen.size(), GetParam().majorVersion == 4 ? 3u : 4u);
    const std::size_t allocations = whole.AllocationCount();

    for (std::size_t number = 1; number <= allocations; ++number) {
        SCOPED_TRACE("failing allocation " + std::to_string(number));
        RecordingRegistry registry;
        AddGrowingPorts(registry);
        registry.SetVersion(VER_PLATFORM_WIN32_NT, GetParam().majorVersion);
        registry.FailAllocationNumber(number);
        PortCollector ports(registry);

        EXPECT_FALSE(EnumerateSerialPorts(registry, &PortCollector::Collect, &ports));
        EXPECT_EQ(platform::GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
        ASSERT_LE(ports.seen.size(), allPorts.seen.size());
        EXPECT_TRUE(std::equal(ports.seen.begin(), ports.seen.end(), allPorts.seen.begin()));
        EXPECT_EQ(registry.OpenKeyCount(), 0u);
        EXPECT_EQ(registry.LiveAllocationCount(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Walks, AllocationTest, ::testing::ValuesIn(kAllocationCases),
                         NameByTitle());

}  // namespace
