// Line assembly: how fast received bytes are cut into lines and how many heap allocations each
// read costs, for the reads a device brings: short answers, lines longer than a read, and full
// 255-byte reads of a burst. Then the same for the whole way of a read on a pseudo-terminal:
// the reader, the hand-over to the window thread, line assembly.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/common/section.h"
#include "bench/line_assembly/allocation_counter.h"
#include "platform/blocking_dispatcher.h"
#include "serial/line_assembler.h"
#include "serial/serial_port_info.h"
#include "tests/support/pty_device.h"

namespace {

using namespace std::chrono_literals;

struct Read {
    std::uint8_t data[LineAssembler::kReadSize] = {};
    std::uint32_t count = 0;
};

// `stream` cut into reads of at most `size` bytes.
std::vector<Read> ReadsOf(const std::string& stream, std::size_t size) {
    std::vector<Read> reads;
    for (std::size_t at = 0; at < stream.size(); at += size) {
        Read read;
        read.count = static_cast<std::uint32_t>(std::min(size, stream.size() - at));
        std::memcpy(read.data, stream.data() + at, read.count);
        reads.push_back(read);
    }
    return reads;
}

// Lines of `length` characters, each ended by CR LF, `count` of them.
std::string Lines(std::size_t length, std::size_t count) {
    std::string stream;
    for (std::size_t i = 0; i < count; ++i) {
        std::string line = std::to_string(i + 1);
        line.resize(length, '.');
        stream += line + "\r\n";
    }
    return stream;
}

void Assemble(benchmark::State& state, const std::vector<Read>& reads) {
    LineAssembler assembler;
    std::uint64_t lines = 0;
    const LineReceivedCallback callback = [&](const char* line) {
        benchmark::DoNotOptimize(line[0]);
        ++lines;
    };
    std::uint64_t bytes = 0;
    std::size_t next = 0;
    const std::uint64_t allocationsBefore = bench::AllocationsSoFar();
    for (auto _ : state) {
        const Read& read = reads[next];
        assembler.Assemble(read.data, read.count, callback);
        bytes += read.count;
        if (++next == reads.size()) next = 0;
    }
    const auto allocations = static_cast<double>(bench::AllocationsSoFar() - allocationsBefore);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["allocs_per_read"] =
        benchmark::Counter(allocations, benchmark::Counter::kAvgIterations);
    state.counters["lines_per_read"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
}

void ShortLines(benchmark::State& state) {
    Assemble(state, ReadsOf("OK\r\n", 4));
}

void LongLines(benchmark::State& state) {
    Assemble(state, ReadsOf(Lines(2000, 8), LineAssembler::kReadSize));
}

void Bursts(benchmark::State& state) {
    Assemble(state, ReadsOf(Lines(32, 255), LineAssembler::kReadSize));
}

// Full reads through the port object's reader on a pseudo-terminal: each burst of 255 bytes is
// one read, handed over and cut into lines on the serving thread.
void ReaderBursts(benchmark::State& state) {
    platform::BlockingDispatcher window;
    qdax_test::PtyDevice device;
    std::uint64_t lines = 0;
    SerialPortInfo port(device.SlavePath(), 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped,
                        [&](const char*) { ++lines; });
    const std::string burst = Lines(49, 5);
    // Each CR LF ends a line and then an empty one.
    const auto linesPerBurst = static_cast<std::uint64_t>(
        std::count_if(burst.begin(), burst.end(), [](char c) { return c == '\r' || c == '\n'; }));
    std::uint64_t expected = 0;
    const std::uint64_t allocationsBefore = bench::AllocationsSoFar();
    for (auto _ : state) {
        expected += linesPerBurst;
        if (!device.Write(burst) || !window.ServeUntil([&] { return lines >= expected; }, 10s)) {
            state.SkipWithError("the reader did not deliver the burst");
            break;
        }
    }
    const auto allocations = static_cast<double>(bench::AllocationsSoFar() - allocationsBefore);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * burst.size()));
    state.counters["allocs_per_read"] =
        benchmark::Counter(allocations, benchmark::Counter::kAvgIterations);
    state.counters["lines_per_read"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
}

BENCHMARK(ShortLines);
BENCHMARK(LongLines);
BENCHMARK(Bursts);
BENCHMARK(ReaderBursts)->UseRealTime();

// Keeps every run for the section, and shows them on the console as usual.
class Collector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) collected.push_back(run);
        ConsoleReporter::ReportRuns(runs);
    }
    std::vector<Run> collected;
};

double CounterOf(const benchmark::BenchmarkReporter::Run& run, const std::string& name) {
    const auto found = run.counters.find(name);
    return found == run.counters.end() ? 0 : found->second.value;
}

struct Description {
    std::string reads;
    bool judged;  // the system's line assembly alone, which the goal is for
};

const std::map<std::string, Description> kDescriptions = {
    {"ShortLines", {"short lines: each read one answer, OK CR LF (4 bytes)", true}},
    {"LongLines", {"long lines: 2000-character lines, read 255 bytes at a time", true}},
    {"Bursts", {"bursts: full 255-byte reads of 32-character lines", true}},
    {"ReaderBursts",
     {"the whole way: 255-byte bursts on a pseudo-terminal through the reader, the hand-over "
      "and line assembly",
      false}},
};

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchArguments arguments = bench::ParseBenchArguments(argc, argv);
    std::string minTime = arguments.quick ? "--benchmark_min_time=0.05" : "--benchmark_min_time=2";
    char* benchmarkArgv[] = {argv[0], minTime.data(), nullptr};
    int benchmarkArgc = 2;
    benchmark::Initialize(&benchmarkArgc, benchmarkArgv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    bench::Section section("Line assembly");
    std::vector<std::vector<std::string>> rows;
    for (const auto& run : collector.collected) {
        const std::string name = run.benchmark_name();
        const auto description = kDescriptions.find(run.run_name.function_name);
        const std::string reads =
            description != kDescriptions.end() ? description->second.reads : name;
        if (run.error_occurred) {
            rows.push_back({reads, "failed: " + run.error_message, "", "", "", ""});
            continue;
        }
        const double allocations = CounterOf(run, "allocs_per_read");
        const double megabytes = CounterOf(run, "bytes_per_second") / 1e6;
        const auto perRead = [&](double seconds) {
            return bench::Fixed(seconds / static_cast<double>(run.iterations) * 1e9, 1);
        };
        rows.push_back({reads, bench::Fixed(megabytes, 1), perRead(run.cpu_accumulated_time),
                        perRead(run.real_accumulated_time), bench::Fixed(allocations, 3),
                        bench::Fixed(CounterOf(run, "lines_per_read"), 2)});
        if (description != kDescriptions.end() && description->second.judged) {
            section.Goal("Allocations per read, " + run.run_name.function_name,
                         bench::Fixed(allocations, 3), "0", allocations == 0);
        }
    }
    section.Paragraph(
        "Google Benchmark. The system's line assembly (the reader's part on the window thread) "
        "fed prepared reads; allocations are counted by a replaced global operator new over "
        "the timed loop and divided by the reads. MB/s is over CPU time for line assembly "
        "alone and over wall time for the whole way, whose work runs on other threads and waits "
        "for the pseudo-terminal. An empty line counts as a line (CR LF ends a line and then an "
        "empty one). The last row is for information: the same "
        "count for a read's whole way through the reader on a pseudo-terminal, where the "
        "allocations are those of the platform layer's hand-over to the window thread.");
    section.Table({"Reads", "MB/s", "CPU ns per read", "Wall ns per read", "Allocations per read",
                   "Lines per read"},
                  rows);
    section.WriteTo(arguments.outputDir, "line_assembly");
    return 0;
}
