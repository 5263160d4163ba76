// FormatMessageA and LocalFree: the system's English texts for the codes this backend gives, and
// the C library's for errno values that travel as customer codes.
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/comm.h"
#include "platform/posix/posix_errors.h"

namespace platform {

namespace {

struct MessageText {
    DWORD code;
    const char* text;
};

constexpr MessageText kMessageTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {posix::ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {posix::ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect."},
    {posix::ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
    {ERROR_MORE_DATA, "More data is available."},
    {ERROR_NO_MORE_ITEMS, "No more data is available."},
    {ERROR_OPERATION_ABORTED,
     "The I/O operation has been aborted because of either a thread exit or an application "
     "request."},
    {ERROR_IO_INCOMPLETE, "Overlapped I/O event is not in a signaled state."},
    {ERROR_IO_PENDING, "Overlapped I/O operation is in progress."},
    {ERROR_OLD_WIN_VERSION, "The specified program requires a newer version of Windows."},
    {ERROR_DEVICE_NOT_CONNECTED, "The device is not connected."},
    {posix::ERROR_TIMEOUT, "This operation returned because the timeout period expired."},
};

// Without the line end; nothing for a code the system has no text for.
std::optional<std::string> MessageTextOf(DWORD code) {
    if (posix::IsCustomerCode(code)) {
        const int error = posix::ErrnoOfCustomerCode(code);
        if (strerrorname_np(error) == nullptr) return std::nullopt;  // not an errno at all
        return std::string(strerrordesc_np(error));
    }
    for (const MessageText& entry : kMessageTexts) {
        if (entry.code == code) return std::string(entry.text);
    }
    return std::nullopt;
}

}  // namespace

DWORD FormatMessageA(DWORD flags, const void* /*source*/, DWORD messageId, DWORD /*languageId*/,
                     char* buffer, DWORD size, void* /*arguments*/) {
    const bool allocate = (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0;
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || buffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (allocate) *reinterpret_cast<char**>(buffer) = nullptr;

    const std::optional<std::string> text = MessageTextOf(messageId);
    if (!text) {
        SetLastError(posix::ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    const std::string message = *text + "\r\n";
    const std::size_t needed = message.size() + 1;

    char* target = buffer;
    if (allocate) {
        // The size asks for at least that many characters of storage.
        target = static_cast<char*>(std::malloc(needed > size ? needed : size));
        if (target == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        *reinterpret_cast<char**>(buffer) = target;
    } else if (size < needed) {
        SetLastError(posix::ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(target, message.c_str(), needed);
    return static_cast<DWORD>(message.size());
}

void* LocalFree(void* memory) {
    std::free(memory);
    return nullptr;
}

}  // namespace platform
