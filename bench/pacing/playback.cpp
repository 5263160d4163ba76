#include "bench/pacing/playback.h"

#include <cstdio>
#include <stdexcept>

namespace pacing {

CommandFile MakeCommandFile(std::size_t lineCount) {
    CommandFile file;
    for (std::size_t i = 1; i <= lineCount; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "SET %04zu 5A", i);
        file.lines.emplace_back(line);
        file.bytes += file.lines.back() + "\r\n";
    }
    return file;
}

std::chrono::milliseconds PlaybackLimit(const CommandFile& file) {
    return kSilence * 10 * static_cast<int>(file.lines.size()) + std::chrono::seconds(30);
}

TimedDevice::TimedDevice(const std::string& portsDir, const std::string& fifoPath)
    : clock_(fifoPath), simulator_(portsDir, {"--record", fifoPath, "--answer", "OK"}) {}

Playback TimedDevice::Finish(const CommandFile& file, const std::function<bool()>& playerRuns) {
    const std::size_t count = file.lines.size();
    const auto deadline = Clock::now() + PlaybackLimit(file);
    // A player that has ended may still have its last command on the way: one more look then.
    bool lastLook = false;
    while (!clock_.WaitForCommands(count, std::chrono::seconds(1))) {
        if (lastLook || Clock::now() >= deadline) {
            throw std::runtime_error("the device received " +
                                     std::to_string(clock_.CommandTimes().size()) + " of " +
                                     std::to_string(count) + " commands");
        }
        lastLook = !playerRuns();
    }
    std::string expected;
    for (const std::string& line : file.lines) expected += line + '\r';
    if (clock_.Wire() != expected) {
        throw std::runtime_error("the device received other bytes than the file's commands");
    }
    return Playback{clock_.CommandTimes(), clock_.RealTime()};
}

}  // namespace pacing
