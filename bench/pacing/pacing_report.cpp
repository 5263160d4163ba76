#include "bench/pacing/pacing_report.h"

#include <fstream>
#include <stdexcept>

#include "bench/common/section.h"
#include "bench/common/statistics.h"

namespace pacing {

namespace {

constexpr double kMedianGoalMs = 1.0;
constexpr double kTotalGoalPercent = 2.0;

struct Figures {
    double totalSeconds = 0;
    std::vector<double> overheadMs;  // per line after the first: its interval less the floor
};

Figures FiguresOf(const Playback& playback) {
    Figures figures;
    const auto& times = playback.commandTimes;
    if (times.size() < 2) return figures;
    figures.totalSeconds = std::chrono::duration<double>(times.back() - times.front()).count();
    const double floorMs = std::chrono::duration<double, std::milli>(kSilence).count();
    for (std::size_t i = 1; i < times.size(); ++i) {
        const double intervalMs =
            std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count();
        figures.overheadMs.push_back(intervalMs - floorMs);
    }
    return figures;
}

bool Judged(const ContenderResult& result) {
    return result.failure.empty() && !result.rounds.empty();
}

// The round with the lowest total: the one the machine disturbed least.
Figures BestFigures(const ContenderResult& result) {
    Figures best;
    for (const Playback& round : result.rounds) {
        Figures figures = FiguresOf(round);
        if (best.overheadMs.empty() || figures.totalSeconds < best.totalSeconds) {
            best = std::move(figures);
        }
    }
    return best;
}

std::string RoundTotals(const ContenderResult& result) {
    std::string text;
    for (const Playback& round : result.rounds) {
        if (!text.empty()) text += " / ";
        text += bench::Fixed(FiguresOf(round).totalSeconds, 3);
    }
    return text;
}

void WriteOverheadData(const std::vector<ContenderResult>& results, const std::string& path) {
    std::ofstream csv(path, std::ios::trunc);
    csv << "contender,line,overhead_ms\n";
    for (const ContenderResult& result : results) {
        if (!Judged(result)) continue;
        const Figures figures = BestFigures(result);
        for (std::size_t i = 0; i < figures.overheadMs.size(); ++i) {
            csv << result.name << ',' << i + 2 << ',' << bench::Fixed(figures.overheadMs[i], 4)
                << '\n';
        }
    }
    if (!csv.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void WritePacingReport(const std::vector<ContenderResult>& results, std::size_t lineCount,
                       const std::string& dir) {
    const double floorSeconds =
        std::chrono::duration<double>(kSilence).count() * static_cast<double>(lineCount - 1);
    std::optional<double> referenceSeconds;
    for (const ContenderResult& result : results) {
        if (result.isReference && Judged(result)) {
            referenceSeconds = BestFigures(result).totalSeconds;
        }
    }
    const auto versusReference = [&](const Figures& figures) -> std::optional<double> {
        if (!referenceSeconds) return std::nullopt;
        return (figures.totalSeconds / *referenceSeconds - 1) * 100;
    };
    const auto percentText = [](std::optional<double> percent) {
        return percent ? bench::Fixed(*percent, 2) + " %" : std::string("no reference");
    };

    bench::Section section("Playback pacing");
    const std::string medianMeasure = "Overhead per line beyond the 50 ms floor, median";
    const std::string medianGoal = "≤ " + bench::Fixed(kMedianGoalMs, 0) + " ms";
    const std::string totalMeasure = "Total time against the reference loop";
    const std::string totalGoal = "≤ +" + bench::Fixed(kTotalGoalPercent, 0) + " %";
    bool windowJudged = false;
    std::vector<std::vector<std::string>> rows;
    for (const ContenderResult& result : results) {
        if (!Judged(result)) {
            rows.push_back({result.name, "failed: " + result.failure, "", "", "", "", "", ""});
            continue;
        }
        const Figures figures = BestFigures(result);
        const double median = bench::Median(figures.overheadMs);
        const std::optional<double> percent = versusReference(figures);
        rows.push_back({result.name, RoundTotals(result), bench::Fixed(figures.totalSeconds, 3),
                        bench::Fixed(figures.totalSeconds - floorSeconds, 3), percentText(percent),
                        bench::Fixed(median, 3),
                        bench::Fixed(bench::Percentile(figures.overheadMs, 99), 3),
                        bench::Fixed(bench::Percentile(figures.overheadMs, 100), 3)});
        if (!result.isWindow) continue;
        windowJudged = true;
        section.Goal(medianMeasure, bench::Fixed(median, 3) + " ms", medianGoal,
                     median <= kMedianGoalMs);
        section.Goal(totalMeasure, percentText(percent), totalGoal,
                     percent && *percent <= kTotalGoalPercent);
    }
    if (!windowJudged) {
        section.Goal(medianMeasure, "no run", medianGoal, false);
        section.Goal(totalMeasure, "no run", totalGoal, false);
    }
    section.Paragraph(
        "A file of " + std::to_string(lineCount) +
        " commands, command delay 0, played to qdax-sim answering every command with OK at once. "
        "Every contender is timed on the device's side: the simulator records what it receives "
        "into a FIFO, and a thread notes when each command's carriage return comes through. A "
        "line's interval runs from its command reaching the device to the next command reaching "
        "it; the design allows no less than the 50 ms read-interval time-out per answer, so the "
        "floor of the total is " +
        bench::Fixed(floorSeconds, 2) +
        " s and a line's overhead is its interval less 50 ms. The total runs from the first "
        "command to the last.");
    section.Paragraph(
        "Contenders: the program (its real window offscreen, port object and reader on the "
        "simulator's pseudo-terminal, Play pressed); qdax-play, the same playback from the "
        "command line (--delay 0 --quiet, the pseudo-terminal's path as its port); a reference "
        "loop written directly on the "
        "pseudo-terminal with the same rule (send, read a non-empty line, wait for 50 ms of "
        "silence; the limit); a Python script with pyserial (write, readline, then reads with a "
        "50 ms time-out until one comes back empty); an expect script (send, expect a line, then "
        "50 ms naps until nothing more came).");
    section.Paragraph(
        "Each contender plays the file " + std::to_string(kRounds) +
        " times, the contenders taking turns and the second round in the reverse order, so that "
        "a stretch of a busy machine does not fall on one contender alone. Each is judged by its "
        "best round, the one with the lowest total; the totals of all rounds are shown too.");
    bool allInRealTime = true;
    for (const ContenderResult& result : results) {
        for (const Playback& round : result.rounds) {
            if (!round.timedInRealTime) allInRealTime = false;
        }
    }
    section.Paragraph(allInRealTime
                          ? "The thread taking the times ran with a real-time priority; on a busy "
                            "machine a time may still be noted late, which shows as one long "
                            "interval followed by one short one (an overhead below 0). That "
                            "changes neither the median nor the total, only the tail."
                          : "The thread taking the times could not get a real-time priority: on "
                            "a busy machine some of its times may be late.");
    section.Table({"Contender", "Rounds' totals (s)", "Best total (s)", "Beyond the floor (s)",
                   "Total vs. reference", "Overhead median (ms)", "p99 (ms)", "max (ms)"},
                  rows);
    section.Paragraph("![Overhead per line beyond the 50 ms floor](pacing_overhead.png)");
    section.WriteTo(dir, "pacing");
    WriteOverheadData(results, dir + "/pacing_overhead.csv");
}

}  // namespace pacing
