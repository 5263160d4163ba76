// A waiting simulator sleeps in poll: it must not spin while idle, while nobody has its
// pseudo-terminal open, or while the far end does not take what it sends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/pty_client.h"
#include "tests/support/recording.h"
#include "tests/support/simulator_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"

namespace {

using qdax_test::PtyClient;
using qdax_test::ReadRecording;
using qdax_test::SimulatorProcess;
using qdax_test::TempDir;
using qdax_test::WaitUntil;
using std::chrono::milliseconds;

// User plus system time the process has used so far.
milliseconds ProcessorTime(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The fields after the command name's closing parenthesis; utime and stime are the 12th
    // and 13th of them.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::vector<std::string> values;
    for (std::string value; fields >> value;) values.push_back(value);
    long ticks = std::stol(values.at(11)) + std::stol(values.at(12));
    return milliseconds(ticks * 1000 / sysconf(_SC_CLK_TCK));
}

enum class Situation { NeverOpened, OpenedAndClosed, FarEndNotReading, LongDelay };

struct WaitCase {
    const char* name;
    Situation situation;
    std::vector<std::string> arguments;
};

void PrintTo(const WaitCase& c, std::ostream* out) {
    *out << c.name;
}

const WaitCase kWaitCases[] = {
    {"NeverOpened", Situation::NeverOpened, {}},
    {"OpenedAndClosed", Situation::OpenedAndClosed, {}},
    {"FarEndNotReading", Situation::FarEndNotReading, {"--flood", "1000000"}},
    {"LongDelay", Situation::LongDelay, {"--delay", "3600000"}},
};

class SimProcessorTest : public testing::TestWithParam<WaitCase> {};

// The time slept here is the measuring window, not a wait for anything: a spinning loop uses
// most of it, a sleeping one next to none. A busy machine can only hide spinning, not fake it.
TEST_P(SimProcessorTest, WaitsWithoutSpinning) {
    const WaitCase& c = GetParam();
    TempDir dir;
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--record", dir.file("wire")});
    SimulatorProcess sim(dir.file("ports"), arguments);
    std::unique_ptr<PtyClient> device;
    if (c.situation != Situation::NeverOpened) {
        device = std::make_unique<PtyClient>(sim.ptyPath());
    }
    if (c.situation == Situation::FarEndNotReading || c.situation == Situation::LongDelay) {
        device->send("GO\r");
        ASSERT_TRUE(WaitUntil([&] { return ReadRecording(dir.file("wire")) == "GO\r"; }));
    }
    if (c.situation == Situation::FarEndNotReading) {
        ASSERT_TRUE(WaitUntil([&] { return device->unreadCount() > 0; }));
    }
    if (c.situation == Situation::OpenedAndClosed) device.reset();

    milliseconds before = ProcessorTime(sim.pid());
    std::this_thread::sleep_for(milliseconds(600));
    EXPECT_LT(ProcessorTime(sim.pid()) - before, milliseconds(150));
    EXPECT_TRUE(sim.isRunning());
}

INSTANTIATE_TEST_SUITE_P(Situations, SimProcessorTest, testing::ValuesIn(kWaitCases),
                         [](const testing::TestParamInfo<WaitCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
