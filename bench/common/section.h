// One benchmark's part of bench/RESULTS.md. A benchmark program takes an output directory, and
// scripts/bench joins the sections the programs leave there: each a markdown file <name>.md that
// begins with "## <title>", then the table of goals (measure, measured value, goal, met or
// missed), then whatever the benchmark adds.
#pragma once

#include <string>
#include <vector>

namespace bench {

// The command line every benchmark program takes: the output directory, and --quick for a short
// trial run whose figures are not meant to be kept.
struct BenchArguments {
    std::string outputDir;
    bool quick = false;
};

// Exits with a usage message (status 2) when the command line is not `<dir> [--quick]`.
BenchArguments ParseBenchArguments(int argc, char** argv);

class Section {
public:
    explicit Section(std::string title);

    void Goal(const std::string& measure, const std::string& measured, const std::string& goal,
              bool met);
    void Paragraph(const std::string& text);
    void Table(const std::vector<std::string>& header,
               const std::vector<std::vector<std::string>>& rows);

    std::string Text() const;
    // Writes Text() to <dir>/<name>.md; throws std::runtime_error when it cannot.
    void WriteTo(const std::string& dir, const std::string& name) const;

private:
    std::string title_;
    std::vector<std::vector<std::string>> goals_;
    std::string body_;
};

// `value` with `decimals` digits after the point.
std::string Fixed(double value, int decimals);

}  // namespace bench
