// Log growth: a million received lines appended to the real window's log through the window's own
// path (OnLineReceived), and the same lines to the plain text area the log used to be. Reported:
// each way's peak memory and the append time of the last 100,000 lines against the first
// 100,000. Each fill runs in a process of its own. Writes <dir>/log_growth.md and, beside it,
// log_growth.csv with the time of every block of lines; --quick appends 200,000 lines.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/common/offscreen_application.h"
#include "bench/common/section.h"
#include "bench/common/statistics.h"
#include "bench/log_growth/growth_run.h"

namespace {

constexpr double kGoalPeakMegabytes = 300;
constexpr double kGoalRatio = 1.3;
// The window log fills a block in a few hundredths of a second, where a stray pause weighs: it is
// filled this many times and each block's median time counts. The plain text area takes long
// enough to be filled once.
constexpr int kWindowLogRuns = 3;

GrowthShape ShapeFor(bool quick) {
    GrowthShape shape;
    if (quick) shape.linesPerBlock = 20'000;
    return shape;
}

double Megabytes(std::uint64_t kilobytes) {
    return static_cast<double>(kilobytes) / 1024.0;
}

double LastToFirst(const GrowthRun& run) {
    return run.blockSeconds.size() > 1 && run.blockSeconds.front() > 0
               ? run.blockSeconds.back() / run.blockSeconds.front()
               : 0.0;
}

std::string ThisProgram() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) throw std::runtime_error("cannot find this program");
    return std::string(path, static_cast<std::size_t>(length));
}

// Block by block the median time; the highest peak, the least that was held.
GrowthRun Combined(const std::vector<GrowthRun>& runs) {
    GrowthRun combined = runs.front();
    for (std::size_t block = 0; block < combined.blockSeconds.size(); ++block) {
        std::vector<double> times;
        for (const GrowthRun& run : runs) times.push_back(run.blockSeconds.at(block));
        combined.blockSeconds[block] = bench::Median(times);
    }
    for (const GrowthRun& run : runs) {
        combined.peakKb = std::max(combined.peakKb, run.peakKb);
        combined.residentBeforeKb = std::max(combined.residentBeforeKb, run.residentBeforeKb);
        combined.linesHeld = std::min(combined.linesHeld, run.linesHeld);
    }
    return combined;
}

std::vector<std::string> RowOf(const std::string& name, const GrowthRun& run) {
    return {name,
            std::to_string(run.linesHeld),
            bench::Fixed(run.blockSeconds.front(), 3) + " s",
            bench::Fixed(run.blockSeconds.back(), 3) + " s",
            bench::Fixed(LastToFirst(run), 2),
            bench::Fixed(run.Seconds(), 2) + " s",
            bench::Fixed(Megabytes(run.peakKb), 0) + " MB",
            bench::Fixed(Megabytes(run.residentBeforeKb), 0) + " MB"};
}

bench::Section Report(const GrowthShape& shape, const GrowthRun& log, const GrowthRun& old) {
    const std::string block = std::to_string(shape.linesPerBlock);
    const bool whole = log.linesHeld == shape.Lines();
    bench::Section section("Log growth");
    section.Goal("Peak memory with " + std::to_string(shape.Lines()) + " lines in the log",
                 bench::Fixed(Megabytes(log.peakKb), 0) + " MB",
                 "at most " + bench::Fixed(kGoalPeakMegabytes, 0) + " MB",
                 whole && Megabytes(log.peakKb) <= kGoalPeakMegabytes);
    section.Goal("Append time, last " + block + " lines / first " + block,
                 bench::Fixed(LastToFirst(log), 2) + " (" +
                     bench::Fixed(log.blockSeconds.back(), 3) + " s / " +
                     bench::Fixed(log.blockSeconds.front(), 3) + " s)",
                 "at most " + bench::Fixed(kGoalRatio, 1), whole && LastToFirst(log) <= kGoalRatio);
    section.Paragraph(
        "Received lines of 38 characters (the line number filled up with dots), appended through "
        "the window's own path, OnLineReceived, which logs each with its \"<-- \" prefix; the "
        "window is shown offscreen and serves its events after every 1,000 lines, as it does "
        "between the reader's hand-overs, so the screen updates are counted. The comparison is "
        "the plain text area the log was before, shown at the log's size with the same settings "
        "and one appendPlainText per line. Each runs in a process of its own; peak memory is the "
        "process's VmHWM, Qt included (\"before\": its resident memory before the first line). "
        "The window log is filled " +
        std::to_string(kWindowLogRuns) +
        " times: its times are each block's median, its memory the highest of the runs.");
    section.Table({"Log", "Lines held", "First " + block, "Last " + block, "Ratio", "Total",
                   "Peak memory", "Before"},
                  {RowOf("window log", log), RowOf("plain text area (before)", old)});
    if (old.peakKb > 0) {
        section.Paragraph("Memory: the window log takes " +
                          bench::Fixed(static_cast<double>(log.peakKb) / old.peakKb * 100, 0) +
                          " % of the plain text area's peak; time: " +
                          bench::Fixed(log.Seconds() / old.Seconds() * 100, 1) + " %.");
    }
    return section;
}

void WriteBlockTimes(const std::string& path, const GrowthShape& shape, const GrowthRun& log,
                     const GrowthRun& old) {
    std::ofstream csv(path, std::ios::trunc);
    csv << "lines_before_block,window_log_seconds,plain_text_area_seconds\n";
    for (std::size_t i = 0; i < shape.blocks; ++i) {
        csv << i * shape.linesPerBlock << ',' << log.blockSeconds.at(i) << ','
            << old.blockSeconds.at(i) << '\n';
    }
    if (!csv.flush()) throw std::runtime_error("cannot write " + path);
}

int RunOneWay(int argc, char** argv) {
    const bool quick = argc > 3 && std::string(argv[3]) == "--quick";
    const bench::OffscreenApplication application(argv);
    FillAndPrint(WayNamed(argv[2]), ShapeFor(quick));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc > 2 && std::string(argv[1]) == "--way") return RunOneWay(argc, argv);
        const bench::BenchArguments arguments = bench::ParseBenchArguments(argc, argv);
        const GrowthShape shape = ShapeFor(arguments.quick);
        const std::string self = ThisProgram();
        std::vector<GrowthRun> logRuns;
        for (int i = 0; i < kWindowLogRuns; ++i) {
            std::fprintf(stderr, "log growth: the window log, run %d\n", i + 1);
            logRuns.push_back(RunInChild(self, "window", arguments.quick));
            if (logRuns.back().blockSeconds.size() != shape.blocks) {
                throw std::runtime_error("a run did not report every block");
            }
        }
        const GrowthRun log = Combined(logRuns);
        std::fprintf(stderr, "log growth: the plain text area\n");
        const GrowthRun old = RunInChild(self, "plain-text-edit", arguments.quick);
        if (old.blockSeconds.size() != shape.blocks) {
            throw std::runtime_error("a run did not report every block");
        }
        WriteBlockTimes(arguments.outputDir + "/log_growth.csv", shape, log, old);
        Report(shape, log, old).WriteTo(arguments.outputDir, "log_growth");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "log growth: %s\n", error.what());
        return 1;
    }
    return 0;
}
