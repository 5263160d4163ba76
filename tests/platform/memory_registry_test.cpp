#include "platform/memory_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/last_error.h"

namespace {

using platform::InMemoryRegistry;

class MemoryRegistryTest : public ::testing::Test {
protected:
    HKEY Open(const char* path, HKEY from = HKEY_LOCAL_MACHINE) {
        HKEY key = nullptr;
        EXPECT_EQ(registry.RegOpenKeyExA(from, path, 0, KEY_READ, &key), ERROR_SUCCESS) << path;
        return key;
    }

    InMemoryRegistry registry;
};

TEST_F(MemoryRegistryTest, NamesMatchWithoutCaseAndKeepInsertionOrder) {
    registry.AddKey("Top\\Zeta");
    registry.AddKey("TOP\\alpha");
    registry.SetString("top\\ZETA", "Second", "2");
    registry.SetString("Top\\Zeta", "First", "1");
    registry.SetString("Top\\Zeta", "SECOND", "two");  // replaces in place

    HKEY top = Open("tOp");
    char name[16];
    std::vector<std::string> keys;
    for (DWORD i = 0;; ++i) {
        DWORD chars = sizeof name;
        const LONG code = registry.RegEnumKeyExA(top, i, name, &chars);
        if (code == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(code, ERROR_SUCCESS);
        EXPECT_EQ(chars, std::string(name).size());
        keys.push_back(name);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"Zeta", "alpha"}));

    HKEY zeta = Open("zeta", top);
    BYTE data[8];
    DWORD nameChars = sizeof name;
    DWORD bytes = sizeof data;
    ASSERT_EQ(registry.RegEnumValueA(zeta, 0, name, &nameChars, data, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(std::string(name), "Second");
    EXPECT_EQ(nameChars, 6u);
    EXPECT_EQ(bytes, 4u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data)), "two");
    bytes = sizeof data;
    EXPECT_EQ(registry.RegQueryValueExA(zeta, "first", data, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(bytes, 2u);
    EXPECT_EQ(registry.RegQueryValueExA(zeta, "third", data, &bytes), ERROR_FILE_NOT_FOUND);

    registry.RegCloseKey(zeta);
    registry.RegCloseKey(top);
}

TEST_F(MemoryRegistryTest, TooSmallBuffersReportWhatTheyNeed) {
    registry.AddKey("K\\SubkeyName");                    // 10 characters
    registry.SetString("K", "ValueName", "0123456789");  // 11 bytes
    HKEY key = Open("K");
    char name[16];
    BYTE data[16];

    DWORD chars = 10;  // the NUL does not fit
    EXPECT_EQ(registry.RegEnumKeyExA(key, 0, name, &chars), ERROR_MORE_DATA);
    EXPECT_EQ(chars, 10u);
    chars = 11;
    EXPECT_EQ(registry.RegEnumKeyExA(key, 0, name, &chars), ERROR_SUCCESS);
    EXPECT_EQ(chars, 10u);
    EXPECT_EQ(registry.RegEnumKeyExA(key, 1, name, &chars), ERROR_NO_MORE_ITEMS);

    chars = 9;
    DWORD bytes = 16;
    EXPECT_EQ(registry.RegEnumValueA(key, 0, name, &chars, data, &bytes), ERROR_MORE_DATA);
    EXPECT_EQ(chars, 9u);
    EXPECT_EQ(bytes, 16u) << "the data fitted";
    chars = 16;
    bytes = 10;
    EXPECT_EQ(registry.RegEnumValueA(key, 0, name, &chars, data, &bytes), ERROR_MORE_DATA);
    EXPECT_EQ(bytes, 11u);
    EXPECT_EQ(registry.RegEnumValueA(key, 1, name, &chars, data, &bytes), ERROR_NO_MORE_ITEMS);

    bytes = 10;
    EXPECT_EQ(registry.RegQueryValueExA(key, "VALUENAME", data, &bytes), ERROR_MORE_DATA);
    EXPECT_EQ(bytes, 11u);
    EXPECT_EQ(registry.RegQueryValueExA(key, "VALUENAME", data, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data)), "0123456789");
    registry.RegCloseKey(key);
}

TEST_F(MemoryRegistryTest, EveryOpenIsANewKeyToClose) {
    registry.AddKey("A\\B");
    HKEY first = Open("A\\B");
    HKEY second = Open("a\\b");
    HKEY itself = Open("", first);
    EXPECT_NE(first, second);
    EXPECT_NE(first, itself);
    EXPECT_EQ(registry.OpenKeyCount(), 3u);

    HKEY missing = first;
    EXPECT_EQ(registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "A\\C", 0, KEY_READ, &missing),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(registry.OpenCallCount(), 4u);

    EXPECT_EQ(registry.RegCloseKey(first), ERROR_SUCCESS);
    EXPECT_EQ(registry.RegCloseKey(first), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.RegEnumKeyExA(first, 0, nullptr, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    registry.RegCloseKey(second);
    registry.RegCloseKey(itself);
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST_F(MemoryRegistryTest, RefusedKeyFailsByAnyPathAndLeavesLastErrorAlone) {
    registry.AddKey("A\\B\\C");
    registry.RefuseOpen("a\\B", ERROR_ACCESS_DENIED);
    HKEY a = Open("A");
    HKEY key = nullptr;
    platform::SetLastError(ERROR_MORE_DATA);
    EXPECT_EQ(registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "A\\b", 0, KEY_READ, &key),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry.RegOpenKeyExA(a, "B", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(platform::GetLastError(), ERROR_MORE_DATA);
    HKEY below = Open("B\\C", a);  // only the refused key itself
    EXPECT_EQ(registry.OpenKeyCount(), 2u);
    registry.RegCloseKey(below);
    registry.RegCloseKey(a);
}

TEST_F(MemoryRegistryTest, AllocationsAreCountedAndOneCanFail) {
    registry.FailAllocationNumber(2);
    void* first = registry.Allocate(8);
    void* second = registry.Allocate(8);
    void* third = registry.Allocate(0);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    EXPECT_EQ(registry.AllocationCount(), 3u);
    EXPECT_EQ(registry.LiveAllocationCount(), 2u);
    registry.Release(first);
    registry.Release(third);
    EXPECT_EQ(registry.LiveAllocationCount(), 0u);
}

TEST_F(MemoryRegistryTest, VersionRecordHonoursItsSize) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(registry.GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(info.dwMajorVersion, 10u);

    registry.SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    OSVERSIONINFOA shortRecord{};
    shortRecord.dwOSVersionInfoSize = sizeof shortRecord - 1;
    EXPECT_FALSE(registry.GetVersionExA(&shortRecord));
    EXPECT_EQ(shortRecord.dwPlatformId, 0u);
    ASSERT_TRUE(registry.GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_WINDOWS);
    EXPECT_EQ(info.dwMinorVersion, 10u);
    EXPECT_EQ(info.dwOSVersionInfoSize, sizeof info);
}

}  // namespace
