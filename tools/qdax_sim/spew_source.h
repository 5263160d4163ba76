// The endless output of a spewing device: pseudo-random bytes of every value but CR and LF (so
// NULs too, and never a line end), in small pieces paced to a given rate.
#pragma once

#include <chrono>
#include <cstddef>
#include <random>

#include "tools/qdax_sim/output_item.h"

namespace qdax_sim {

class SpewSource {
public:
    static constexpr std::chrono::milliseconds kPieceInterval{10};

    explicit SpewSource(std::size_t bytesPerSecond);

    // The next piece, to go out one interval after the one before: the rate is never exceeded.
    OutputItem NextPiece();

private:
    std::size_t pieceSize_;
    // A fixed seed: every run spews the same bytes.
    std::minstd_rand random_{20240521};
};

}  // namespace qdax_sim
