#include "tools/qdax_sim/spew_source.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace qdax_sim {
namespace {

constexpr std::size_t kIntervalsPerSecond = 1000 / SpewSource::kPieceInterval.count();

// Every byte value except the two line ends.
constexpr std::array<char, 254> SpewAlphabet() {
    std::array<char, 254> bytes{};
    std::size_t next = 0;
    for (int value = 0; value < 256; ++value) {
        if (value != '\r' && value != '\n') bytes[next++] = static_cast<char>(value);
    }
    return bytes;
}

}  // namespace

SpewSource::SpewSource(std::size_t bytesPerSecond)
    : pieceSize_(std::max<std::size_t>(1, bytesPerSecond / kIntervalsPerSecond)) {}

OutputItem SpewSource::NextPiece() {
    static constexpr std::array<char, 254> kAlphabet = SpewAlphabet();
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string bytes(pieceSize_, '\0');
    for (char& byte : bytes) byte = kAlphabet[pick(random_)];
    return OutputItem{.pauseBefore = kPieceInterval, .bytes = std::move(bytes)};
}

}  // namespace qdax_sim
