#include "platform/memory_registry.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace platform {

namespace {

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

// The names of a backslash-separated path; empty names (doubled or outer backslashes) are skipped.
std::vector<std::string> SplitPath(const char* path) {
    std::vector<std::string> names;
    std::string current;
    for (const char* p = path; p != nullptr && *p != '\0'; ++p) {
        if (*p == '\\') {
            if (!current.empty()) names.push_back(current);
            current.clear();
        } else {
            current.push_back(*p);
        }
    }
    if (!current.empty()) names.push_back(current);
    return names;
}

// Handles handed out start well above zero and are never reused, so a stale handle stays unknown.
constexpr std::uintptr_t kFirstHandle = 0x1000;
constexpr std::uintptr_t kHandleStep = 0x10;

OSVERSIONINFOA MakeVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    version.dwPlatformId = platformId;
    version.dwMajorVersion = majorVersion;
    version.dwMinorVersion = minorVersion;
    return version;
}

}  // namespace

struct InMemoryRegistry::Node {
    struct Value {
        std::string name;
        std::vector<BYTE> data;
    };

    std::string name;
    std::vector<std::unique_ptr<Node>> children;
    std::vector<Value> values;
    LONG refusal = ERROR_SUCCESS;

    Node* FindChild(const std::string& childName) const {
        for (const auto& child : children) {
            if (SameName(child->name, childName)) return child.get();
        }
        return nullptr;
    }

    const Value* FindValue(const std::string& valueName) const {
        for (const auto& value : values) {
            if (SameName(value.name, valueName)) return &value;
        }
        return nullptr;
    }
};

struct InMemoryRegistry::Impl {
    // One lock for everything: a shared registry may be read by walks on several threads.
    mutable std::mutex mutex;
    Node root;
    std::unordered_map<HKEY, Node*> openKeys;
    std::uintptr_t nextHandle = kFirstHandle;
    std::size_t openCalls = 0;
    std::size_t allocations = 0;
    std::size_t failingAllocation = 0;  // 0: none fails
    std::unordered_set<void*> liveBlocks;
    OSVERSIONINFOA version = MakeVersion(VER_PLATFORM_WIN32_NT, 10, 0);

    Node* Resolve(HKEY key) {
        if (key == HKEY_LOCAL_MACHINE) return &root;
        const auto found = openKeys.find(key);
        return found == openKeys.end() ? nullptr : found->second;
    }

    static Node* Walk(Node* from, const std::vector<std::string>& names) {
        for (const auto& name : names) {
            from = from->FindChild(name);
            if (from == nullptr) return nullptr;
        }
        return from;
    }

    Node* Create(const std::string& path) {
        Node* node = &root;
        for (const auto& name : SplitPath(path.c_str())) {
            Node* child = node->FindChild(name);
            if (child == nullptr) {
                node->children.push_back(std::make_unique<Node>());
                child = node->children.back().get();
                child->name = name;
            }
            node = child;
        }
        return node;
    }
};

InMemoryRegistry::InMemoryRegistry() : impl_(std::make_unique<Impl>()) {}

InMemoryRegistry::~InMemoryRegistry() {
    for (void* block : impl_->liveBlocks) std::free(block);
}

void InMemoryRegistry::AddKey(const std::string& path) {
    std::lock_guard lock(impl_->mutex);
    impl_->Create(path);
}

void InMemoryRegistry::SetValue(const std::string& keyPath, const std::string& valueName,
                                const std::vector<BYTE>& data) {
    std::lock_guard lock(impl_->mutex);
    Node* node = impl_->Create(keyPath);
    for (auto& value : node->values) {
        if (SameName(value.name, valueName)) {
            value.data = data;
            return;
        }
    }
    node->values.push_back({valueName, data});
}

void InMemoryRegistry::SetString(const std::string& keyPath, const std::string& valueName,
                                 const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(keyPath, valueName, data);
}

void InMemoryRegistry::RefuseOpen(const std::string& keyPath, LONG code) {
    std::lock_guard lock(impl_->mutex);
    impl_->Create(keyPath)->refusal = code;
}

void InMemoryRegistry::FailAllocationNumber(std::size_t number) {
    std::lock_guard lock(impl_->mutex);
    impl_->failingAllocation = number;
}

void InMemoryRegistry::SetVersion(const OSVERSIONINFOA& version) {
    std::lock_guard lock(impl_->mutex);
    impl_->version = version;
}

void InMemoryRegistry::SetVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion) {
    SetVersion(MakeVersion(platformId, majorVersion, minorVersion));
}

std::size_t InMemoryRegistry::OpenKeyCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->openKeys.size();
}

std::size_t InMemoryRegistry::OpenCallCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->openCalls;
}

std::size_t InMemoryRegistry::AllocationCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->allocations;
}

std::size_t InMemoryRegistry::LiveAllocationCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->liveBlocks.size();
}

LONG InMemoryRegistry::RegOpenKeyExA(HKEY key, const char* subKey, DWORD /*options*/,
                                     REGSAM /*access*/, HKEY* result) {
    std::lock_guard lock(impl_->mutex);
    ++impl_->openCalls;
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    Node* parent = impl_->Resolve(key);
    if (parent == nullptr) return ERROR_INVALID_HANDLE;
    Node* target = impl_->Walk(parent, SplitPath(subKey));
    if (target == nullptr) return ERROR_FILE_NOT_FOUND;
    if (target->refusal != ERROR_SUCCESS) return target->refusal;
    const HKEY handle = reinterpret_cast<HKEY>(impl_->nextHandle);
    impl_->nextHandle += kHandleStep;
    impl_->openKeys.emplace(handle, target);
    *result = handle;
    return ERROR_SUCCESS;
}

LONG InMemoryRegistry::RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameChars) {
    std::lock_guard lock(impl_->mutex);
    const Node* node = impl_->Resolve(key);
    if (node == nullptr) return ERROR_INVALID_HANDLE;
    if (name == nullptr || nameChars == nullptr) return ERROR_INVALID_PARAMETER;
    if (index >= node->children.size()) return ERROR_NO_MORE_ITEMS;
    const std::string& childName = node->children[index]->name;
    if (childName.size() + 1 > *nameChars) return ERROR_MORE_DATA;
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    *nameChars = static_cast<DWORD>(childName.size());
    return ERROR_SUCCESS;
}

LONG InMemoryRegistry::RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameChars,
                                     BYTE* data, DWORD* dataBytes) {
    std::lock_guard lock(impl_->mutex);
    const Node* node = impl_->Resolve(key);
    if (node == nullptr) return ERROR_INVALID_HANDLE;
    if (name == nullptr || nameChars == nullptr || (data != nullptr && dataBytes == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (index >= node->values.size()) return ERROR_NO_MORE_ITEMS;
    const Node::Value& value = node->values[index];
    const DWORD needed = static_cast<DWORD>(value.data.size());
    const bool nameFits = value.name.size() + 1 <= *nameChars;
    const bool dataFits = data == nullptr || needed <= *dataBytes;
    if (!dataFits) *dataBytes = needed;
    if (!nameFits || !dataFits) return ERROR_MORE_DATA;
    std::memcpy(name, value.name.c_str(), value.name.size() + 1);
    *nameChars = static_cast<DWORD>(value.name.size());
    if (data != nullptr) std::copy(value.data.begin(), value.data.end(), data);
    if (dataBytes != nullptr) *dataBytes = needed;
    return ERROR_SUCCESS;
}

LONG InMemoryRegistry::RegQueryValueExA(HKEY key, const char* valueName, BYTE* data,
                                        DWORD* dataBytes) {
    std::lock_guard lock(impl_->mutex);
    const Node* node = impl_->Resolve(key);
    if (node == nullptr) return ERROR_INVALID_HANDLE;
    if (data != nullptr && dataBytes == nullptr) return ERROR_INVALID_PARAMETER;
    const Node::Value* value = node->FindValue(valueName == nullptr ? "" : valueName);
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    const DWORD needed = static_cast<DWORD>(value->data.size());
    if (data != nullptr && needed > *dataBytes) {
        *dataBytes = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr) std::copy(value->data.begin(), value->data.end(), data);
    if (dataBytes != nullptr) *dataBytes = needed;
    return ERROR_SUCCESS;
}

LONG InMemoryRegistry::RegCloseKey(HKEY key) {
    std::lock_guard lock(impl_->mutex);
    if (key == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
    return impl_->openKeys.erase(key) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

BOOL InMemoryRegistry::GetVersionExA(OSVERSIONINFOA* info) {
    std::lock_guard lock(impl_->mutex);
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return FALSE;
    *info = impl_->version;
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return TRUE;
}

void* InMemoryRegistry::Allocate(std::size_t bytes) {
    std::lock_guard lock(impl_->mutex);
    ++impl_->allocations;
    if (impl_->allocations == impl_->failingAllocation) return nullptr;
    // Exactly the size asked for, so a memory checker sees any access past the end.
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block != nullptr) impl_->liveBlocks.insert(block);
    return block;
}

void InMemoryRegistry::Release(void* block) {
    if (block == nullptr) return;
    std::lock_guard lock(impl_->mutex);
    if (impl_->liveBlocks.erase(block) != 1) {
        // Releasing a block twice, or one this registry never gave, is a fault in the caller.
        std::fprintf(stderr, "InMemoryRegistry: release of a block it does not hold\n");
        std::abort();
    }
    std::free(block);
}

}  // namespace platform
