// Whole files on Windows.
#include <algorithm>
#include <string>

#include "platform/file_access.h"
#include "platform/temporary_names.h"
#include "platform/win32_types.h"

namespace platform {

namespace {

// Closes the handle when it goes out of scope, unless closed before.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (Valid()) ::CloseHandle(handle_);
    }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != FALSE;
    }

private:
    HANDLE handle_;
};

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of("\\/");
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? "." : path.substr(0, separator + 1);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string WithSeparator(std::string directory) {
    if (directory.back() != '\\' && directory.back() != '/') directory += '\\';
    return directory;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Creates a new, empty file beside `target` under a name of its own.
HANDLE CreateTemporaryBeside(const std::string& target, std::string& name) {
    HANDLE file = INVALID_HANDLE_VALUE;
    name = OfferTemporaryNames(WithSeparator(DirectoryOf(target)), BaseNameOf(target),
                               ::GetCurrentProcessId(), [&](const std::string& offered) {
                                   file = ::CreateFileA(offered.c_str(), GENERIC_WRITE, 0, nullptr,
                                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
                                   return file != INVALID_HANDLE_VALUE ||
                                          ::GetLastError() != ERROR_FILE_EXISTS;
                               });
    return file;
}

bool FillTemporary(HANDLE handle, std::string_view bytes) {
    FileHandle file(handle);
    return WriteAll(handle, bytes) && ::FlushFileBuffers(handle) && file.Close();
}

// Puts the filled temporary file in place of `target`. An existing file is replaced so that it
// keeps its attributes and access rights.
bool PutInPlace(const std::string& temporary, const std::string& target, bool exists) {
    if (exists) {
        return ::ReplaceFileA(target.c_str(), temporary.c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE;
    }
    return ::MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit) {
    if (path.empty()) return std::nullopt;
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return std::nullopt;
    // Only files on a disk: a device or a pipe named here could block the window thread.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return std::nullopt;

    std::string bytes;
    constexpr std::size_t kChunk = 64 * 1024;
    while (bytes.size() < limit) {
        const std::size_t oldSize = bytes.size();
        const std::size_t wanted = std::min(kChunk, limit - oldSize);
        bytes.resize(oldSize + wanted);
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes.data() + oldSize, static_cast<DWORD>(wanted), &got,
                        nullptr)) {
            return std::nullopt;
        }
        bytes.resize(oldSize + got);
        if (got == 0) break;
    }
    return bytes;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    if (path.empty()) return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE |
                                 FILE_ATTRIBUTE_READONLY)) != 0) {
        return false;
    }

    std::string temporary;
    const HANDLE file = CreateTemporaryBeside(path, temporary);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (!FillTemporary(file, bytes) || !PutInPlace(temporary, path, exists)) {
        ::DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
