// What a sequence of reads should give as lines, worked out from the byte stream as a whole rather
// than read by read: the kept bytes of every read and, for every empty read that follows another
// empty read, a cut of the pending line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qdax_fuzz {

struct ModelLine {
    std::size_t read;  // index of the read whose hand-over delivers the line
    std::string text;
};

struct ModelOutcome {
    std::vector<ModelLine> lines;  // every line delivered, also those that no callback receives
    std::size_t pendingLength;     // characters still waiting for a line end
};

// `reads` holds each read's bytes as received; a NUL drops itself and everything after it.
ModelOutcome ExpectedLines(const std::vector<std::string>& reads, std::size_t maxLineLength);

}  // namespace qdax_fuzz
