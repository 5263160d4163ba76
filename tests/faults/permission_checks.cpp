#include "tests/faults/permission_checks.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace qdax_fault {
namespace {

constexpr unsigned kPermissionOverrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};

// The raw calls act on the calling thread only, unlike the C library's changes of identity.
bool CallCapabilities(long call, __user_cap_data_struct* data) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(call, &header, data) == 0;
}

}  // namespace

PermissionChecksOnThisThread::PermissionChecksOnThisThread() {
    __user_cap_data_struct checked[_LINUX_CAPABILITY_U32S_3];
    if (!CallCapabilities(SYS_capget, saved_)) {
        throw std::runtime_error(std::string("capget: ") + std::strerror(errno));
    }
    std::memcpy(checked, saved_, sizeof checked);
    for (unsigned capability : kPermissionOverrides) {
        checked[capability / 32].effective &= ~(1u << (capability % 32));
    }
    if (!CallCapabilities(SYS_capset, checked)) {
        throw std::runtime_error(std::string("capset: ") + std::strerror(errno));
    }
}

PermissionChecksOnThisThread::~PermissionChecksOnThisThread() {
    // Raising the effective set back to what it was, within the permitted set, is never refused.
    CallCapabilities(SYS_capset, saved_);
}

}  // namespace qdax_fault
