#include "platform/posix/posix_handles.h"

#include <mutex>
#include <unordered_map>

namespace platform::posix {

namespace {

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<HANDLE, std::shared_ptr<KernelObject>> live;
};

// Never destroyed: ports left open at exit keep their service threads, which must not see the
// table go away under them while the process ends.
HandleTable& Table() {
    static HandleTable* table = new HandleTable;
    return *table;
}

}  // namespace

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object) {
    HANDLE handle = object.get();
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.live.emplace(handle, std::move(object));
    return handle;
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.live.find(handle);
    return it == table.live.end() ? nullptr : it->second;
}

std::shared_ptr<KernelObject> UnregisterHandle(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.live.find(handle);
    if (it == table.live.end()) return nullptr;
    std::shared_ptr<KernelObject> object = std::move(it->second);
    table.live.erase(it);
    return object;
}

}  // namespace platform::posix
