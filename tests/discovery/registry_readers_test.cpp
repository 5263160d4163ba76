#include <string>

#include "tests/discovery/discovery_test_support.h"

namespace {

const std::string kParent = "SOFTWARE\\PARENT";

class ReaderTest : public RegistryWalkTest {
protected:
    void SetUp() override {
        registry.AddKey(kParent);
        ASSERT_EQ(
            registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kParent.c_str(), 0, KEY_READ, &parent_),
            ERROR_SUCCESS);
    }
    void TearDown() override {
        registry.RegCloseKey(parent_);
        RegistryWalkTest::TearDown();
    }
    void Release(char** slot) {
        registry.Release(*slot);
        *slot = nullptr;
    }

    HKEY parent_ = nullptr;
};

struct LengthCase {
    std::size_t length;
    std::size_t reads;  // registry calls until the buffer fits

    friend void PrintTo(const LengthCase& c, std::ostream* os) { *os << c.length; }
};

class SubkeyNameTest : public ReaderTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(SubkeyNameTest, GrowsUntilTheNameFitsAndKeepsItInTheSlot) {
    const std::string name(GetParam().length, 'K');
    registry.AddKey(kParent + "\\" + name);
    HKEY subkey = nullptr;
    char* nameSlot = nullptr;
    EXPECT_EQ(OpenSubkeyByIndex(registry, parent_, 0, KEY_READ, &subkey, &nameSlot), ERROR_SUCCESS);
    EXPECT_EQ(std::string(nameSlot), name);
    EXPECT_EQ(registry.Calls("enumkey"), GetParam().reads);
    EXPECT_EQ(registry.OpenKeyCount(), 2u);
    EXPECT_EQ(registry.RegCloseKey(subkey), ERROR_SUCCESS);
    Release(&nameSlot);
}

// Capacities 128, 258 and 518 characters, the terminating NUL included.
INSTANTIATE_TEST_SUITE_P(Lengths, SubkeyNameTest,
                         ::testing::Values(LengthCase{127, 1}, LengthCase{128, 2},
                                           LengthCase{257, 2}, LengthCase{258, 3}));

TEST_F(ReaderTest, SubkeyWithoutNameSlotReleasesItsBuffer) {
    registry.AddKey(kParent + "\\" + std::string(300, 'K'));
    registry.AddKey(kParent + "\\REFUSED");
    registry.RefuseOpen(kParent + "\\REFUSED", ERROR_ACCESS_DENIED);
    HKEY subkey = nullptr;
    EXPECT_EQ(OpenSubkeyByIndex(registry, parent_, 0, KEY_READ, &subkey, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(registry.LiveAllocationCount(), 0u);
    registry.RegCloseKey(subkey);

    char* nameSlot = nullptr;
    EXPECT_EQ(OpenSubkeyByIndex(registry, parent_, 1, KEY_READ, &subkey, &nameSlot),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(subkey, nullptr);
    EXPECT_EQ(std::string(nameSlot), "REFUSED");
    EXPECT_EQ(OpenSubkeyByIndex(registry, parent_, 2, KEY_READ, &subkey, &nameSlot),
              ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(registry.LiveAllocationCount(), 1u) << "the caller's slot keeps one buffer";
    Release(&nameSlot);
}

class ValueDataTest : public ReaderTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(ValueDataTest, GrowsToTheSizeNeededAndEndsTheText) {
    const std::string data(GetParam().length, 'V');  // stored without a NUL
    registry.SetValue(kParent, "DATA", std::vector<BYTE>(data.begin(), data.end()));
    char* slot = nullptr;
    EXPECT_EQ(QueryValueData(registry, parent_, "data", &slot), ERROR_SUCCESS);
    EXPECT_EQ(std::string(slot), data);
    EXPECT_EQ(registry.Calls("query"), GetParam().reads);
    EXPECT_EQ(registry.LiveAllocationCount(), 1u);
    Release(&slot);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ValueDataTest,
                         ::testing::Values(LengthCase{0, 1}, LengthCase{128, 1}, LengthCase{129, 2},
                                           LengthCase{5000, 2}));

TEST_F(ReaderTest, MissingValueReleasesThePreviousBuffer) {
    char* slot = static_cast<char*>(registry.Allocate(4));
    EXPECT_EQ(QueryValueData(registry, parent_, "NONE", &slot), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.LiveAllocationCount(), 1u);
    EXPECT_EQ(std::string(slot), "");
    Release(&slot);
}

}  // namespace
