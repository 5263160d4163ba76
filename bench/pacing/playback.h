// What every contender plays and how a run is timed: the command file, and a simulated device
// that answers each command at once while a WireClock notes when each command reached it.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "bench/pacing/wire_clock.h"
#include "tests/support/simulator_process.h"

namespace pacing {

// The read-interval time-out of the window's port: the design lets no contender send the next
// command sooner than this after an answer.
inline constexpr std::chrono::milliseconds kSilence{50};

struct CommandFile {
    std::vector<std::string> lines;
    std::string bytes;  // the lines, each ended by CR LF
};

CommandFile MakeCommandFile(std::size_t lineCount);

// The time one playback of `file` is allowed: ten times the floor per line, and half a
// minute more for a loaded machine.
std::chrono::milliseconds PlaybackLimit(const CommandFile& file);

// One run's outcome: when each command of the file reached the device.
struct Playback {
    std::vector<Clock::time_point> commandTimes;
    bool timedInRealTime = false;  // the WireClock's thread had a real-time priority
};

// A qdax-sim answering "OK" to every command at once, published in `portsDir`, recording into
// a FIFO at `fifoPath` that the device's WireClock watches.
class TimedDevice {
public:
    TimedDevice(const std::string& portsDir, const std::string& fifoPath);

    const std::string& PtyPath() const { return simulator_.ptyPath(); }

    // Waits until every command of `file` has reached the device (giving up early once
    // `playerRuns` says the player has ended) and checks that the wire holds exactly the file's
    // commands. Throws std::runtime_error otherwise.
    Playback Finish(const CommandFile& file, const std::function<bool()>& playerRuns);

private:
    WireClock clock_;
    qdax_test::SimulatorProcess simulator_;
};

// The contenders. Each plays `file` to a TimedDevice of its own and throws std::runtime_error
// when the playback goes wrong.
Playback PlayWithWindow(const CommandFile& file);
Playback PlayWithReferenceLoop(const CommandFile& file);
// The arguments a player program takes, given the device's pseudo-terminal and the command file.
using ProgramArguments = std::function<std::vector<std::string>(const std::string& ptyPath,
                                                                const std::string& commandsPath)>;
// `program` run with `arguments`; `name` tells it apart in messages.
Playback PlayWithProgram(const std::string& program, const ProgramArguments& arguments,
                         const std::string& name, const CommandFile& file);
// `interpreter script ptyPath commandsPath`, for the pyserial and expect players.
Playback PlayWithScript(const std::string& interpreter, const std::string& script,
                        const CommandFile& file);

}  // namespace pacing
