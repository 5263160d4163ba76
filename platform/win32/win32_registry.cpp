// The system registry of a Windows machine, read through the system's own calls.
#include <cstdlib>

#include "platform/registry.h"

namespace platform {

namespace {

class Win32Registry : public RegistryApi {
public:
    LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                       HKEY* result) override {
        return ::RegOpenKeyExA(key, subKey, options, access, result);
    }

    LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameChars) override {
        FILETIME lastWrite{};
        return ::RegEnumKeyExA(key, index, name, nameChars, nullptr, nullptr, nullptr, &lastWrite);
    }

    LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameChars, BYTE* data,
                       DWORD* dataBytes) override {
        return ::RegEnumValueA(key, index, name, nameChars, nullptr, nullptr, data, dataBytes);
    }

    LONG RegQueryValueExA(HKEY key, const char* valueName, BYTE* data, DWORD* dataBytes) override {
        return ::RegQueryValueExA(key, valueName, nullptr, nullptr, data, dataBytes);
    }

    LONG RegCloseKey(HKEY key) override { return ::RegCloseKey(key); }

    BOOL GetVersionExA(OSVERSIONINFOA* info) override {
        // Without a manifest that names newer systems, Windows 8.1 and later report 6.2: still
        // the NT family after version 4, which is all discovery asks.
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
        return ::GetVersionExA(info);
    }

    void* Allocate(std::size_t bytes) override {
        return std::malloc(bytes);
    }
    void Release(void* block) override {
        std::free(block);
    }
};

}  // namespace

RegistryApi& SystemRegistry() {
    static Win32Registry registry;
    return registry;
}

}  // namespace platform
