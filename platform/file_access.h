// Reading and replacing whole files on the operating system, byte for byte. Failures are returned,
// not raised: the callers turn them into the operator's messages. Backends:
// posix/posix_file_access.cpp, win32/win32_file_access.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The first `limit` bytes of the regular file at `path` (all of it when shorter), opened for
// reading only, so that other programs may hold it open too. Empty when it cannot be opened or
// read, and for anything but a regular file (a directory, a device, a pipe).
std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit);

// Makes `bytes` the whole content of the file at `path`, all or nothing: the bytes go to a new file
// in the same directory, which is flushed to the disk and then renamed over the old one, so a
// failed replacement leaves the old file as it was and no new file behind.
// - Something that exists but is not a regular file (a directory, a device, a pipe) is not
//   replaced, nor is a file that the user may not write.
// - POSIX: a symbolic link is followed: the file it leads to is replaced and the link stays. An
//   existing file keeps its permission bits; a new one gets 0666 less the process's umask. The
//   owner becomes the saving user and hard links to the old file keep the old content.
// - Windows: an existing file keeps its attributes and access rights; a read-only one is not
//   replaced.
// Returns false when the file was not replaced.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace platform
