// The pacing section of the results and the per-line data for its plot.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bench/pacing/playback.h"

namespace pacing {

struct ContenderResult {
    std::string name;
    bool isWindow = false;     // the program itself, whose figures the goals judge
    bool isReference = false;  // the limit the program's total is held against
    std::optional<Playback> playback;
    std::string failure;  // why there is no playback
};

// Writes <dir>/pacing.md and <dir>/pacing_overhead.csv (contender,line,overhead_ms).
void WritePacingReport(const std::vector<ContenderResult>& results, std::size_t lineCount,
                       const std::string& dir);

}  // namespace pacing
