// One way of holding the log, filled with a million lines in a process of its own, so that its
// peak memory is its own: the window's log through the window's own path, or the plain text area
// the window used before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct GrowthShape {
    std::size_t blocks = 10;
    std::size_t linesPerBlock = 100'000;
    std::size_t Lines() const { return blocks * linesPerBlock; }
};

struct GrowthRun {
    std::vector<double> blockSeconds;  // the append time of each block of lines, in order
    std::uint64_t residentBeforeKb = 0;
    std::uint64_t peakKb = 0;
    std::size_t linesHeld = 0;  // what the log held at the end

    double Seconds() const;
};

enum class LogWay { Window, PlainTextEdit };

// Runs in this process: needs the QApplication. Prints the run for ReadGrowthRun.
void FillAndPrint(LogWay way, const GrowthShape& shape);

// Runs `program --way <way>` (and --quick) and reads what it printed. Throws std::runtime_error
// when it fails.
GrowthRun RunInChild(const std::string& program, const std::string& way, bool quick);

// The child's side of the command line: the way named after --way.
LogWay WayNamed(const std::string& name);
