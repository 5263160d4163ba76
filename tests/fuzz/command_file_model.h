// What loading a command file should give, worked out byte by byte: the text ends at the first
// NUL; CR, LF and CR LF each end a line; a last line without a line end is a line too.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qdax_fuzz {

// The text of a file's bytes: everything before the first NUL.
std::string_view FileText(std::string_view bytes);

// The lines of the file, or nothing when its text is longer than `capacity`.
std::optional<std::vector<std::string>> ExpectedCommandLines(std::string_view bytes,
                                                             std::size_t capacity);

}  // namespace qdax_fuzz
