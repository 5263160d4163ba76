// The table of live handles. A HANDLE is the address of one object of this backend; every
// function looks its handle up here first, so a stale or foreign value is refused instead of
// being followed. Callers keep the object alive through the shared pointer for as long as they
// use it, even when another thread closes the handle meanwhile.
#pragma once

#include <memory>

#include "platform/win32_types.h"

namespace platform::posix {

class KernelObject {
public:
    enum class Kind { Event, Port };

    explicit KernelObject(Kind kind) : kind_(kind) {}
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;
    virtual ~KernelObject() = default;

    Kind ObjectKind() const { return kind_; }

private:
    Kind kind_;
};

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);

// The live object behind `handle`, or nothing.
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);

// Takes `handle` out of the table and gives its object; nothing when it was not live. Only one of
// several threads closing the same handle receives the object.
std::shared_ptr<KernelObject> UnregisterHandle(HANDLE handle);

// The live object of type T (which names its kKind) behind `handle`, or nothing.
template <class T>
std::shared_ptr<T> FindHandleOf(HANDLE handle) {
    std::shared_ptr<KernelObject> object = FindHandle(handle);
    if (object == nullptr || object->ObjectKind() != T::kKind) return nullptr;
    return std::static_pointer_cast<T>(object);
}

}  // namespace platform::posix
