// Receive flood: the simulator answers one command with 200,000 lines as fast as the
// pseudo-terminal takes them. Measured: the time until the last line is in the real window's log
// (the port object and its reader on the pty, the window offscreen), that every line arrived once,
// whole and in order, and how late the window thread answers an event posted meanwhile; then `cat`
// reading the same flood, the limit. Writes <dir>/flood.md; --quick floods 20,000 lines.
#include <QCoreApplication>
#include <QLineEdit>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/window/daxtest.h"
#include "bench/common/offscreen_application.h"
#include "bench/common/section.h"
#include "bench/common/wake_latency.h"
#include "bench/flood/cat_flood.h"
#include "bench/flood/flood_shape.h"
#include "bench/flood/responsiveness_probe.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kCommand[] = "FLOOD";
constexpr double kGoalMegabytesPerSecond = 1.0;
constexpr double kGoalWorstDelayMs = 100.0;
constexpr auto kProbeInterval = std::chrono::milliseconds(3);
constexpr std::size_t kQuickLines = 20'000;
constexpr auto kGiveUpAfter = std::chrono::seconds(120);
// After the last line, long enough for anything doubled to show up as well.
constexpr auto kSettle = std::chrono::milliseconds(500);
constexpr int kWakeUpExchanges = 20000;

struct WindowFlood {
    double seconds = 0;
    std::string fault;  // empty: every line once, whole, in order
    double worstDelayMs = 0;
    double delayP99Ms = 0;
    std::size_t probes = 0;
};

void RunEventsFor(std::chrono::milliseconds span) {
    const auto end = Clock::now() + span;
    while (Clock::now() < end) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

std::string Quoted(std::string_view bytes) {
    return "'" + std::string(bytes.substr(0, 60)) + "'";
}

// The first way the log differs from the command followed by the flood; empty when it does not.
std::string FirstFault(const CommLogView& log, const FloodShape& shape) {
    if (log.LineCount() != shape.lines + 1) {
        return "the log holds " + std::to_string(log.LineCount()) + " lines, not " +
               std::to_string(shape.lines + 1);
    }
    if (log.LineBytes(0) != std::string("--> ") + kCommand) {
        return "line 0 is " + Quoted(log.LineBytes(0));
    }
    for (std::size_t k = 1; k <= shape.lines; ++k) {
        const std::string expected = "<-- " + shape.Line(k);
        if (log.LineBytes(k) != expected) {
            return "line " + std::to_string(k) + " is " + Quoted(log.LineBytes(k)) + ", not " +
                   Quoted(expected);
        }
    }
    return {};
}

WindowFlood WindowReadsTheFlood(e2e::Scenario& scenario, const FloodShape& shape) {
    scenario.StartDevice(shape.SimulatorOptions());
    TMainForm& window = scenario.OpenWindowOnPort(0);
    e2e::Type(window.ManualEntry, kCommand);

    WindowFlood result;
    ResponsivenessProbe probe(kProbeInterval);
    const auto start = Clock::now();
    e2e::PressEnter(window.ManualEntry);
    while (window.SendLog->LineCount() < shape.lines + 1 && Clock::now() - start < kGiveUpAfter) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    probe.Stop();
    result.worstDelayMs = probe.WorstDelayMs();
    result.delayP99Ms = probe.PercentileDelayMs(99);
    result.probes = probe.Answered();

    RunEventsFor(std::chrono::duration_cast<std::chrono::milliseconds>(kSettle));
    result.fault = FirstFault(*window.SendLog, shape);
    return result;
}

double MegabytesPerSecond(std::size_t bytes, double seconds) {
    return seconds > 0 ? static_cast<double>(bytes) / 1e6 / seconds : 0.0;
}

bench::Section Report(const FloodShape& shape, const WindowFlood& window, const CatFlood& cat,
                      double wakeUpMicroseconds) {
    const double windowRate = MegabytesPerSecond(shape.WireBytes(), window.seconds);
    const double catRate = MegabytesPerSecond(shape.WireBytes(), cat.seconds);
    bench::Section section("Receive flood");
    section.Goal("Rate into the log",
                 bench::Fixed(windowRate, 2) + " MB/s (" + bench::Fixed(window.seconds, 2) + " s)",
                 "at least " + bench::Fixed(kGoalMegabytesPerSecond, 0) + " MB/s",
                 windowRate >= kGoalMegabytesPerSecond && window.fault.empty());
    section.Goal("Every line once, whole, in order",
                 window.fault.empty() ? std::string("yes") : "no: " + window.fault, "yes",
                 window.fault.empty());
    section.Goal("Worst delay of a posted event during the flood",
                 bench::Fixed(window.worstDelayMs, 1) + " ms (99th percentile " +
                     bench::Fixed(window.delayP99Ms, 1) + " ms, " + std::to_string(window.probes) +
                     " events)",
                 "at most " + bench::Fixed(kGoalWorstDelayMs, 0) + " ms",
                 window.probes > 0 && window.worstDelayMs <= kGoalWorstDelayMs);
    section.Paragraph(
        "The simulator answers one command typed into Manual Entry with " +
        std::to_string(shape.lines) + " lines of " + std::to_string(shape.length + 2) + " bytes (" +
        std::to_string(shape.length) + " characters and CR LF, " +
        std::to_string(shape.WireBytes()) +
        " bytes in all) as fast as the pseudo-terminal takes them. The real window (offscreen) "
        "with its port object and reader takes them in; the time runs from the Enter to the last "
        "line in the log. Meanwhile another thread posts an event to the window thread every " +
        std::to_string(kProbeInterval.count()) +
        " ms, and the window thread notes how late it got to each. Then `cat` reads the same "
        "flood from a simulator of its own, the far end set raw as the program sets it. "
        "1 MB is 1,000,000 bytes.");
    section.Paragraph(
        "Each read crosses two wake-ups: the reader wakes the window thread with the read, and the "
        "window thread wakes the reader when it has taken it. On this machine, in this run, one "
        "thread waking another took " +
        bench::Fixed(wakeUpMicroseconds, 1) + " µs (the median of " +
        std::to_string(kWakeUpExchanges) +
        " exchanges); where idle processors wake slowly, the rate falls with that.");
    section.Table(
        {"Reader", "Time", "Rate", "Bytes", "Ratio to cat"},
        {{"Q-Dax window", bench::Fixed(window.seconds, 2) + " s",
          bench::Fixed(windowRate, 2) + " MB/s", window.fault.empty() ? "all, in order" : "faulty",
          bench::Fixed(catRate > 0 ? windowRate / catRate : 0, 2)},
         {"`cat` (the limit)", bench::Fixed(cat.seconds, 2) + " s",
          bench::Fixed(catRate, 2) + " MB/s", cat.whole ? "all, in order" : "lost or changed",
          "1.00"}});
    return section;
}

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchArguments arguments = bench::ParseBenchArguments(argc, argv);
    const bench::OffscreenApplication application(argv);
    try {
        FloodShape shape;
        if (arguments.quick) shape.lines = kQuickLines;
        e2e::Scenario scenario;
        const WindowFlood window = WindowReadsTheFlood(scenario, shape);
        const CatFlood cat = CatReadsTheFlood(scenario.PortsDir(), shape);
        const double wakeUp = bench::MedianWakeUpMicroseconds(kWakeUpExchanges);
        Report(shape, window, cat, wakeUp).WriteTo(arguments.outputDir, "flood");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "flood: %s\n", error.what());
        return 1;
    }
    return 0;
}
