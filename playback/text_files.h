// The two kinds of text file that the window and qdax-play share: command files, which playback
// sends, and saved copies of the communications log. Text is 8-bit: every byte is one character,
// kept as it is.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The most text the file area takes, in bytes with the line ends, counted up to a NUL byte when the
// file holds one. 16 MiB is far beyond any command file and still edits at a usable speed.
inline constexpr std::size_t kFileAreaCapacity = 16 * 1024 * 1024;

// The lines of the command file at `path`. Lines end at CR, LF or CR LF; a last line without a line
// end is a line too, and a NUL byte ends the text. Reads at most `capacity` + 1 bytes.
// Throws AppError "Cannot open file <path>" when the file cannot be opened or read, and
// "Text exceeds memo capacity" when its text is longer than `capacity`.
std::vector<std::string> LoadCommandFile(const std::string& path,
                                         std::size_t capacity = kFileAreaCapacity);
// The same for a command file given on standard input, read up to its end; throws AppError
// "Cannot read standard input" when it cannot be read.
std::vector<std::string> LoadCommandInput(std::size_t capacity = kFileAreaCapacity);

// Replaces the file at `path` with `lines`, each followed by CR LF; an empty log gives an empty
// file. A failed save leaves any earlier file untouched. Throws AppError "Cannot create file
// <path>".
void SaveLogFile(const std::string& path, const std::vector<std::string>& lines);
// The same for `count` lines that `lineAt` hands out one by one, so that a long log is saved
// without a copy of each line.
void SaveLogFile(const std::string& path, std::size_t count,
                 const std::function<std::string_view(std::size_t)>& lineAt);
