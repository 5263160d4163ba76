#include <string>
#include <vector>

#include "platform/last_error.h"
#include "tests/discovery/discovery_test_support.h"

namespace {

using Names = std::vector<std::string>;

TEST_F(RegistryWalkTest, MissingDeviceMapMeansNoPorts) {
    registry.AddKey("HARDWARE\\DEVICEMAP");
    platform::SetLastError(ERROR_MORE_DATA);
    EXPECT_TRUE(WalkMap());
    EXPECT_TRUE(ports.seen.empty());
    EXPECT_EQ(platform::GetLastError(), ERROR_MORE_DATA);
}

TEST_F(RegistryWalkTest, DeviceMapValuesInIndexOrder) {
    registry.SetString(kDeviceMap, "\\Device\\Serial1", "COM2");
    registry.SetString(kDeviceMap, "\\Device\\Serial0", "COM1");
    EXPECT_TRUE(WalkMap());
    const std::vector<SeenPort> expected = {{"COM2", "COM2", "", true, 1},
                                            {"COM1", "COM1", "", true, 1}};
    EXPECT_EQ(ports.seen, expected);
    EXPECT_EQ(registry.Calls("open " + std::string(kDeviceMap) + " " + std::to_string(KEY_READ)),
              1u);
}

using Offer = RecordingRegistry::ValueOffer;

struct GrowthCase {
    const char* title;
    std::size_t nameLength;
    std::vector<BYTE> data;
    std::string expected;
    // Name and data capacities offered at index 0, read after read: a value that does not fit
    // is read again with the name capacity (n + 1) * 2 and the data capacity the call asked for.
    std::vector<Offer> offers;

    friend void PrintTo(const GrowthCase& c, std::ostream* os) { *os << c.title; }
};

const std::string k32 = "COM" + std::string(29, '2');
const std::string k200 = "COM" + std::string(197, '9');

const GrowthCase kGrowthCases[] = {
    {"NameFits", 31, Text("COM1"), "COM1", {{0, 32, 32}}},
    {"Name32", 32, Bytes("COM1"), "COM1", {{0, 32, 32}, {0, 66, 32}}},
    {"Name100", 100, Bytes("COM1"), "COM1", {{0, 32, 32}, {0, 66, 32}, {0, 134, 32}}},
    {"Data32NoNul", 8, Bytes(k32), k32, {{0, 32, 32}}},
    // Only the data is too long, yet the name capacity grows as well.
    {"Data33", 8, Text(k32), k32, {{0, 32, 32}, {0, 66, 33}}},
    {"Data200AndName40", 40, Text(k200), k200, {{0, 32, 32}, {0, 66, 201}}},
    {"DataCutAtNul", 8, Bytes(std::string("COM3\0junk", 9)), "COM3", {{0, 32, 32}}},
};

using GrowthTest = RegistryWalkTableTest<GrowthCase>;

TEST_P(GrowthTest, ReadsTheSameIndexAgainWithLargerBuffers) {
    const GrowthCase& c = GetParam();
    registry.SetValue(kDeviceMap, std::string(c.nameLength, 'N'), c.data);
    registry.SetString(kDeviceMap, "Second", "COM2");
    EXPECT_TRUE(WalkMap());
    EXPECT_EQ(ports.PortNames(), (Names{c.expected, "COM2"}));
    // The next value starts again from the first capacities; the end is one more read.
    std::vector<Offer> expected = c.offers;
    expected.push_back({1, 32, 32});
    expected.push_back({2, 32, 32});
    EXPECT_EQ(registry.ValueOffers(), expected);
}

INSTANTIATE_TEST_SUITE_P(Buffers, GrowthTest, ::testing::ValuesIn(kGrowthCases), NameByTitle());

TEST_F(RegistryWalkTest, DeviceMapStopsAtOnce) {
    registry.SetString(kDeviceMap, "A", "COM1");
    registry.SetString(kDeviceMap, "B", "COM2");
    ports.stopAt = 1;
    EXPECT_TRUE(WalkMap());
    EXPECT_EQ(ports.PortNames(), Names{"COM1"});
    EXPECT_EQ(registry.Calls("enumvalue"), 1u);
}

TEST_F(RegistryWalkTest, DeviceMapFailuresPassTheirCode) {
    registry.SetString(kDeviceMap, "A", "COM1");
    registry.RefuseOpen(kDeviceMap, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(WalkMap());
    EXPECT_EQ(platform::GetLastError(), ERROR_ACCESS_DENIED);

    registry.RefuseOpen(kDeviceMap, ERROR_SUCCESS);
    registry.FailEnumValues(ERROR_GEN_FAILURE);
    EXPECT_FALSE(WalkMap());
    EXPECT_EQ(platform::GetLastError(), ERROR_GEN_FAILURE);
    EXPECT_TRUE(ports.seen.empty());
}

}  // namespace
