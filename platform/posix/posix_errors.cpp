#include "platform/posix/posix_errors.h"

#include <cerrno>

#include "platform/last_error.h"

namespace platform::posix {

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case EIO:
            return ERROR_GEN_FAILURE;
        case ENXIO:
        case ENODEV:
            return ERROR_DEVICE_NOT_CONNECTED;
        case EBUSY:
            return ERROR_SHARING_VIOLATION;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case ENOTTY:
            return ERROR_NOT_SUPPORTED;
        case ETIMEDOUT:
            return ERROR_TIMEOUT;
        default:
            return kCustomerCodeBit | static_cast<DWORD>(error);
    }
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace platform::posix
