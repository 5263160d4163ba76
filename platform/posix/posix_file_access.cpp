// Whole files on POSIX systems.
#include "platform/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/temporary_names.h"

namespace platform {

namespace {

// Closes the descriptor when it goes out of scope, unless released.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now and reports whether the close succeeded (a deferred write error shows up here).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Symbolic links followed before the chain counts as a loop, as the kernel's own limit.
constexpr int kMaxLinkDepth = 40;

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path that a chain of symbolic links starting at `path` leads to, which need not exist yet.
std::optional<std::string> FollowLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT) return current;
            return std::nullopt;
        }
        if (!S_ISLNK(info.st_mode)) return current;
        std::string link(static_cast<std::size_t>(info.st_size) + 1, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) return std::nullopt;
        link.resize(static_cast<std::size_t>(length));
        current = link.front() == '/' ? link : DirectoryOf(current) + "/" + link;
    }
    return std::nullopt;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Creates a new, empty file beside `target` under a name of its own; returns its descriptor and
// fills `name`, or returns -1.
int CreateTemporaryBeside(const std::string& target, std::string& name) {
    int fd = -1;
    name = OfferTemporaryNames(
        DirectoryOf(target) + "/", BaseNameOf(target), static_cast<unsigned long>(::getpid()),
        [&](const std::string& offered) {
            fd = ::open(offered.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            return fd >= 0 || errno != EEXIST;
        });
    return fd;
}

// Fills the temporary file and puts it in place of `target`; the caller removes it on failure.
bool FillAndRename(int fd, const std::string& temporary, const std::string& target,
                   const std::optional<mode_t>& keptMode, std::string_view bytes) {
    FileDescriptor file(fd);
    if (keptMode && ::fchmod(fd, *keptMode) != 0) return false;
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0 || !file.Close()) return false;
    return ::rename(temporary.c_str(), target.c_str()) == 0;
}

// Makes the rename itself durable. The new content is already in place when this runs, so a
// failure here does not make the replacement a failure.
void SyncDirectoryOf(const std::string& target) {
    FileDescriptor directory(
        ::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0) ::fsync(directory.Get());
}

}  // namespace

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit) {
    if (path.empty()) return std::nullopt;
    // Only regular files: a fifo or a device named here would block the window thread, in the
    // open or in a read, with no way out for the operator.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;

    std::string bytes;
    constexpr std::size_t kChunk = 64 * 1024;
    while (bytes.size() < limit) {
        const std::size_t oldSize = bytes.size();
        const std::size_t wanted = std::min(kChunk, limit - oldSize);
        bytes.resize(oldSize + wanted);
        const ssize_t got = ::read(file.Get(), bytes.data() + oldSize, wanted);
        if (got < 0 && errno == EINTR) {
            bytes.resize(oldSize);
            continue;
        }
        if (got < 0) return std::nullopt;
        bytes.resize(oldSize + static_cast<std::size_t>(got));
        if (got == 0) break;
    }
    return bytes;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    if (path.empty()) return false;
    const std::optional<std::string> target = FollowLinks(path);
    if (!target) return false;

    std::optional<mode_t> keptMode;
    struct stat info {};
    if (::stat(target->c_str(), &info) == 0) {
        // A file the user may not write stays as it is, as it would with writing it in place.
        if (!S_ISREG(info.st_mode) || ::access(target->c_str(), W_OK) != 0) return false;
        keptMode = info.st_mode & 0777;
    } else if (errno != ENOENT) {
        return false;
    }

    std::string temporary;
    const int fd = CreateTemporaryBeside(*target, temporary);
    if (fd < 0) return false;
    if (!FillAndRename(fd, temporary, *target, keptMode, bytes)) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncDirectoryOf(*target);
    return true;
}

}  // namespace platform
