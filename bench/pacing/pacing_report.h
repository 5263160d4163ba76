// The pacing section of the results and the per-line data for its plot.
#pragma once

#include <string>
#include <vector>

#include "bench/pacing/playback.h"

namespace pacing {

// How often every contender plays the file; each is judged by its best round.
inline constexpr int kRounds = 2;

struct ContenderResult {
    std::string name;
    bool isWindow = false;     // the program itself, whose figures the goals judge
    bool isReference = false;  // the limit the program's total is held against
    std::vector<Playback> rounds;
    std::string failure;  // why a round went wrong; such a contender is not judged
};

// Writes <dir>/pacing.md and <dir>/pacing_overhead.csv (contender,line,overhead_ms).
void WritePacingReport(const std::vector<ContenderResult>& results, std::size_t lineCount,
                       const std::string& dir);

}  // namespace pacing
