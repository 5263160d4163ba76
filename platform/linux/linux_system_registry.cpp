// The system registry of a Linux machine is the port view of the configured port sources.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/linux/linux_port_registry.h"
#include "platform/registry.h"

namespace platform {

namespace {

// Every key opened from the root holds a view of its own, built at that moment, and the keys
// opened below it share that view and keep it alive. So walks on several threads, and a walk
// started inside another's callback, each read the ports as they were when they began, and no
// walk ever sees its view replaced under it.
class PortViewRegistry : public RegistryApi {
public:
    LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                       HKEY* result) override {
        const std::optional<ViewKey> parent = Find(key);
        if (!parent) return ERROR_INVALID_HANDLE;
        HKEY opened = nullptr;
        const LONG code =
            parent->view->RegOpenKeyExA(parent->key, subKey, options, access, &opened);
        if (code != ERROR_SUCCESS) return code;
        std::lock_guard lock(mutex_);
        const HKEY handle = reinterpret_cast<HKEY>(nextHandle_);
        nextHandle_ += kHandleStep;
        openKeys_.emplace(handle, ViewKey{parent->view, opened});
        *result = handle;
        return ERROR_SUCCESS;
    }

    LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameChars) override {
        const std::optional<ViewKey> found = Find(key);
        if (!found) return ERROR_INVALID_HANDLE;
        return found->view->RegEnumKeyExA(found->key, index, name, nameChars);
    }

    LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameChars, BYTE* data,
                       DWORD* dataBytes) override {
        const std::optional<ViewKey> found = Find(key);
        if (!found) return ERROR_INVALID_HANDLE;
        return found->view->RegEnumValueA(found->key, index, name, nameChars, data, dataBytes);
    }

    LONG RegQueryValueExA(HKEY key, const char* valueName, BYTE* data, DWORD* dataBytes) override {
        const std::optional<ViewKey> found = Find(key);
        if (!found) return ERROR_INVALID_HANDLE;
        return found->view->RegQueryValueExA(found->key, valueName, data, dataBytes);
    }

    LONG RegCloseKey(HKEY key) override {
        ViewKey closed;
        {
            std::lock_guard lock(mutex_);
            const auto it = openKeys_.find(key);
            if (it == openKeys_.end()) return ERROR_INVALID_HANDLE;
            closed = std::move(it->second);
            openKeys_.erase(it);
        }
        return closed.view->RegCloseKey(closed.key);
    }

    BOOL GetVersionExA(OSVERSIONINFOA* info) override {
        if (info == nullptr) return FALSE;
        *info = LinuxPortViewVersion();
        return TRUE;
    }

    void* Allocate(std::size_t bytes) override { return std::malloc(bytes); }
    void Release(void* block) override { std::free(block); }

private:
    struct ViewKey {
        std::shared_ptr<InMemoryRegistry> view;
        HKEY key = nullptr;
    };

    // Handles start well above the predefined keys and are never reused.
    static constexpr std::uintptr_t kHandleStep = 0x10;

    // The root stands for a fresh view of the ports as they are now.
    std::optional<ViewKey> Find(HKEY key) {
        if (key == HKEY_LOCAL_MACHINE) {
            return ViewKey{BuildLinuxPortRegistry(ConfiguredPortSources()), HKEY_LOCAL_MACHINE};
        }
        std::lock_guard lock(mutex_);
        const auto it = openKeys_.find(key);
        if (it == openKeys_.end()) return std::nullopt;
        return it->second;
    }

    std::mutex mutex_;
    std::unordered_map<HKEY, ViewKey> openKeys_;
    std::uintptr_t nextHandle_ = 0x1000;
};

}  // namespace

RegistryApi& SystemRegistry() {
    // Never destroyed: a walk may still run on another thread while the process ends.
    static PortViewRegistry* registry = new PortViewRegistry;
    return *registry;
}

}  // namespace platform
