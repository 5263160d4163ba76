// Idle cost: an open port, its reader and a window thread, first with a device that stays
// silent, then with a device that has vanished (the pseudo-terminal's master closed). Measures
// the CPU time and the wake-ups of the whole process over a stretch of nothing happening.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/common/process_usage.h"
#include "bench/common/section.h"
#include "platform/blocking_dispatcher.h"
#include "platform/message_box.h"
#include "serial/serial_port_info.h"
#include "tests/support/pty_device.h"

namespace {

using namespace std::chrono_literals;

constexpr double kCpuGoalPercent = 0.1;
// Nothing may wake more often than the reader's own pace of one look per read-interval
// time-out (20 a second at 50 ms); a busy loop wakes thousands of times a second.
constexpr double kWakeUpGoalPerSecond = 25;

struct Stretch {
    std::string device;
    bench::UsageRate rate;
    std::size_t lines = 0;  // delivered during the stretch
};

Stretch Measure(const std::string& device, platform::BlockingDispatcher& window,
                std::chrono::seconds length, const std::size_t& lines) {
    const std::size_t linesBefore = lines;
    const bench::ProcessUsage before = bench::SampleProcessUsage();
    window.ServeFor(length);
    const bench::ProcessUsage after = bench::SampleProcessUsage();
    return {device, bench::RateBetween(before, after), lines - linesBefore};
}

std::string ThreadBreakdown(const bench::UsageRate& rate) {
    std::string text;
    for (const auto& thread : rate.threads) {
        if (!text.empty()) text += ", ";
        text += (thread.tid == getpid() ? "main " : "thread ") +
                bench::Fixed(thread.wakeUpsPerSecond, 1);
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchArguments arguments = bench::ParseBenchArguments(argc, argv);
    const std::chrono::seconds length = arguments.quick ? 2s : 10s;

    platform::BlockingDispatcher window;
    std::vector<std::string> boxes;
    platform::SetMessageBoxHandler(
        [&](const std::string& text, const std::string&, DWORD) { boxes.push_back(text); });
    qdax_test::PtyDevice device;
    std::size_t lines = 0;
    SerialPortInfo port(device.SlavePath(), 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped,
                        [&](const char*) { ++lines; });
    if (!port.IsOpen()) {
        std::fprintf(stderr, "idle: cannot open %s\n", device.SlavePath().c_str());
        return 1;
    }

    window.ServeFor(1s);  // the reader settles into its pending read
    const Stretch silent = Measure("silent", window, length, lines);
    device.CloseMaster();
    // The reader meets the hang-up and reports it once before the stretch begins.
    window.ServeUntil([&] { return lines > 0; }, 5s);
    window.ServeFor(1s);
    const Stretch vanished = Measure("vanished", window, length, lines);

    bench::Section section("Idle");
    std::vector<std::vector<std::string>> rows;
    for (const Stretch& stretch : {silent, vanished}) {
        section.Goal("CPU, " + stretch.device + " device",
                     bench::Fixed(stretch.rate.cpuPercent, 4) + " %",
                     "< " + bench::Fixed(kCpuGoalPercent, 1) + " %",
                     stretch.rate.cpuPercent < kCpuGoalPercent);
        section.Goal("Wake-ups, " + stretch.device + " device",
                     bench::Fixed(stretch.rate.wakeUpsPerSecond, 1) + " /s",
                     "≤ " + bench::Fixed(kWakeUpGoalPerSecond, 0) + " /s (no busy loop)",
                     stretch.rate.wakeUpsPerSecond <= kWakeUpGoalPerSecond);
        rows.push_back({stretch.device, bench::Fixed(stretch.rate.seconds, 2),
                        bench::Fixed(stretch.rate.cpuPercent, 4),
                        bench::Fixed(stretch.rate.wakeUpsPerSecond, 1),
                        ThreadBreakdown(stretch.rate), std::to_string(stretch.lines)});
    }
    section.Paragraph(
        "The port object opened on a pseudo-terminal (50 ms read-interval time-out, overlapped), "
        "its reader running, and a window thread that serves hand-overs without polling. A "
        "stretch of " +
        std::to_string(length.count()) +
        " s with the device silent, then one after the device vanished (the pseudo-terminal's "
        "master closed; the reader reported that once before the stretch). CPU is user and "
        "system time of the whole process over wall time; wake-ups are its voluntary and "
        "involuntary context switches, all threads together, per second.");
    section.Table({"Device", "Stretch (s)", "CPU (%)", "Wake-ups (/s)", "Wake-ups per thread (/s)",
                   "Lines delivered"},
                  rows);
    if (!boxes.empty()) section.Paragraph("A message box was shown: " + boxes.front());
    section.WriteTo(arguments.outputDir, "idle");
    return 0;
}
