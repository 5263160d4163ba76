#include <string>
#include <vector>

#include "platform/last_error.h"
#include "tests/discovery/discovery_test_support.h"

namespace {

using Names = std::vector<std::string>;

struct VersionCase {
    const char* title;
    DWORD platformId;
    DWORD majorVersion;
    Names expected;  // empty: the search fails with ERROR_OLD_WIN_VERSION

    friend void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.title; }
};

const VersionCase kVersionCases[] = {
    {"Win32s", VER_PLATFORM_WIN32s, 4, {}},
    {"Windows95Family", VER_PLATFORM_WIN32_WINDOWS, 4, {"COM95"}},
    {"Nt3", VER_PLATFORM_WIN32_NT, 3, {}},
    {"Nt4", VER_PLATFORM_WIN32_NT, 4, {"COMMAP"}},
    {"Nt5", VER_PLATFORM_WIN32_NT, 5, {"COMNT"}},
    {"Nt10", VER_PLATFORM_WIN32_NT, 10, {"COMNT"}},
    {"PlatformThree", 3, 10, {}},
};

// One port in each place a family looks.
class EntryTest : public RegistryWalkTest {
protected:
    void SetUp() override {
        registry.SetString(kDeviceMap, "\\Device\\Serial0", "COMMAP");
        AddPortInstance(registry, "ROOT\\PORTS\\0000", "COM95", "", "ENUM");
        AddPortInstance(registry, "ACPI\\PNP0501\\1", "COMNT");
    }

    bool Enumerate() { return EnumerateSerialPorts(registry, &PortCollector::Collect, &ports); }
};

class VersionTest : public EntryTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionTest, ChoosesTheWalkOfTheFamily) {
    const VersionCase& c = GetParam();
    registry.SetVersion(c.platformId, c.majorVersion);
    platform::SetLastError(ERROR_MORE_DATA);
    EXPECT_EQ(Enumerate(), !c.expected.empty());
    EXPECT_EQ(platform::GetLastError(),
              c.expected.empty() ? ERROR_OLD_WIN_VERSION : ERROR_MORE_DATA);
    EXPECT_EQ(ports.PortNames(), c.expected);
    if (c.expected.empty()) {
        EXPECT_EQ(registry.OpenCallCount(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Families, VersionTest, ::testing::ValuesIn(kVersionCases), NameByTitle());

TEST_F(EntryTest, ZeroVersionRecordIsNoFamily) {
    registry.SetVersion(OSVERSIONINFOA{});
    EXPECT_FALSE(Enumerate());
    EXPECT_EQ(platform::GetLastError(), ERROR_OLD_WIN_VERSION);
}

// A version query that fails and fills nothing.
class SilentVersionRegistry : public platform::InMemoryRegistry {
public:
    BOOL GetVersionExA(OSVERSIONINFOA*) override { return FALSE; }
};

TEST(EntryVersionTest, UnfilledVersionRecordIsNoFamily) {
    SilentVersionRegistry registry;
    registry.SetString(kDeviceMap, "A", "COM1");
    PortCollector ports(registry);
    EXPECT_FALSE(EnumerateSerialPorts(registry, &PortCollector::Collect, &ports));
    EXPECT_EQ(platform::GetLastError(), ERROR_OLD_WIN_VERSION);
    EXPECT_EQ(registry.OpenCallCount(), 0u);
}

TEST_F(EntryTest, MissingCallbackReadsNothing) {
    EXPECT_FALSE(EnumerateSerialPorts(registry, nullptr, &ports));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(registry.Log().empty());
    EXPECT_EQ(registry.AllocationCount(), 0u);

    platform::SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(EnumerateSerialPorts(nullptr, nullptr));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(EntryTest, WalksRejectAMissingCallback) {
    EXPECT_FALSE(EnumerateDeviceMapPorts(registry, nullptr, nullptr));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_PARAMETER);
    platform::SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(EnumerateDeviceTreePorts(registry, kNtTreeRoot, nullptr, nullptr));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(registry.OpenCallCount(), 0u);
}

}  // namespace
