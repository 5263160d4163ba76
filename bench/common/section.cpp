#include "bench/common/section.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace bench {

namespace {

std::string Row(const std::vector<std::string>& cells) {
    std::string row = "|";
    for (const std::string& cell : cells) row += " " + cell + " |";
    return row + "\n";
}

std::string MarkdownTable(const std::vector<std::string>& header,
                          const std::vector<std::vector<std::string>>& rows) {
    std::string table = Row(header);
    table += Row(std::vector<std::string>(header.size(), "---"));
    for (const auto& row : rows) table += Row(row);
    return table;
}

}  // namespace

BenchArguments ParseBenchArguments(int argc, char** argv) {
    BenchArguments arguments;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            arguments.quick = true;
        } else if (arguments.outputDir.empty() && argv[i][0] != '-') {
            arguments.outputDir = argv[i];
        } else {
            arguments.outputDir.clear();
            break;
        }
    }
    if (arguments.outputDir.empty()) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [--quick]\n", argc > 0 ? argv[0] : "bench");
        std::exit(2);
    }
    return arguments;
}

Section::Section(std::string title) : title_(std::move(title)) {}

void Section::Goal(const std::string& measure, const std::string& measured, const std::string& goal,
                   bool met) {
    goals_.push_back({measure, measured, goal, met ? "met" : "**missed**"});
}

void Section::Paragraph(const std::string& text) {
    body_ += text + "\n\n";
}

void Section::Table(const std::vector<std::string>& header,
                    const std::vector<std::vector<std::string>>& rows) {
    body_ += MarkdownTable(header, rows) + "\n";
}

std::string Section::Text() const {
    std::string text = "## " + title_ + "\n\n";
    if (!goals_.empty()) {
        text += MarkdownTable({"Measure", "Measured", "Goal", "Result"}, goals_) + "\n";
    }
    return text + body_;
}

void Section::WriteTo(const std::string& dir, const std::string& name) const {
    const std::string path = dir + "/" + name + ".md";
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << Text();
    if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

std::string Fixed(double value, int decimals) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

}  // namespace bench
