// Holding the calling thread to file permissions as any user is held to them, also when it runs
// as root: while an object of this class lives, the capabilities that let root past the
// permission bits are out of the thread's effective set. Other threads keep theirs.
#pragma once

#include <linux/capability.h>

namespace qdax_fault {

class PermissionChecksOnThisThread {
public:
    // Throws std::runtime_error when the thread's capabilities cannot be read or changed.
    PermissionChecksOnThisThread();
    // Puts the capabilities back.
    ~PermissionChecksOnThisThread();
    PermissionChecksOnThisThread(const PermissionChecksOnThisThread&) = delete;
    PermissionChecksOnThisThread& operator=(const PermissionChecksOnThisThread&) = delete;

private:
    __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3] = {};
};

}  // namespace qdax_fault
