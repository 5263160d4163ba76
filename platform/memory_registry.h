// A registry held in memory. Keys and values keep their insertion order, which is their index
// order. It can be told to refuse a key, to fail an allocation and to report a given version, and
// it counts the keys that are open, so a test can prove that a walk closed every key it opened.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform {

class InMemoryRegistry : public RegistryApi {
public:
    InMemoryRegistry();
    ~InMemoryRegistry() override;

    // --- Building the contents (paths below HKEY_LOCAL_MACHINE, backslash separated) ---
    // Creates the key and every missing key on its way.
    void AddKey(const std::string& path);
    // Sets a value's bytes exactly as given.
    void SetValue(const std::string& keyPath, const std::string& valueName,
                  const std::vector<BYTE>& data);
    // Sets a text value: its bytes followed by one NUL, as the system stores text.
    void SetString(const std::string& keyPath, const std::string& valueName,
                   const std::string& text);

    // --- Faults and environment ---
    // Opening this key (by any path that names it) fails with `code`.
    void RefuseOpen(const std::string& keyPath, LONG code);
    // The allocation with this 1-based sequence number fails (and only that one).
    void FailAllocationNumber(std::size_t number);
    void SetVersion(const OSVERSIONINFOA& version);
    // Sets the version record to the given platform and major version, everything else zero.
    void SetVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion = 0);

    // --- Observation ---
    std::size_t OpenKeyCount() const;
    std::size_t OpenCallCount() const;  // successful and failed RegOpenKeyExA calls
    std::size_t AllocationCount() const;
    std::size_t LiveAllocationCount() const;

    // --- RegistryApi ---
    LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                       HKEY* result) override;
    LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameChars) override;
    LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameChars, BYTE* data,
                       DWORD* dataBytes) override;
    LONG RegQueryValueExA(HKEY key, const char* valueName, BYTE* data,
                          DWORD* dataBytes) override;
    LONG RegCloseKey(HKEY key) override;
    BOOL GetVersionExA(OSVERSIONINFOA* info) override;
    void* Allocate(std::size_t bytes) override;
    void Release(void* block) override;

private:
    struct Node;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
