// The command line of qdax-sim: what the simulated device answers and how it behaves.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qdax_sim {

enum class LineEnd { CrLf, Cr, Lf };

struct SimOptions {
    std::string portsDir;  // empty: the standard ports directory
    std::optional<int> comNumber;
    std::optional<std::string> answer;  // unset: "VER" gets the version line, the rest "OK"
    bool echo = false;
    std::size_t lines = 1;
    LineEnd lineEnd = LineEnd::CrLf;
    std::chrono::milliseconds delay{0};
    bool silent = false;
    bool partial = false;
    std::size_t splitSize = 0;  // 0: each answer in one write
    std::chrono::milliseconds splitPause{50};
    std::size_t floodLines = 0;  // 0: no flood
    std::size_t floodLength = 32;
    std::optional<std::size_t> disconnectAfter;
    std::size_t spewRate = 0;  // bytes per second after the first command; 0: no spew
    std::string recordPath;    // empty: no recording
    bool printPath = false;
    bool help = false;
};

struct ParsedOptions {
    SimOptions options;
    std::string error;  // empty when the command line is valid
};

ParsedOptions ParseSimOptions(const std::vector<std::string>& arguments);

std::string HelpText();

std::string LineEndBytes(LineEnd lineEnd);

}  // namespace qdax_sim
