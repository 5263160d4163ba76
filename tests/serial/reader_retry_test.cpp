// A device that vanishes for good: the reader reports it once, then retries ever more seldom
// instead of at the read pace, and reads a live device again as soon as the port is re-opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "serial/serial_port_info.h"
#include "tests/platform/test_dispatcher.h"
#include "tests/support/pty_device.h"
#include "tests/support/thread_switches.h"

namespace {

using namespace std::chrono_literals;

// The most any thread the port started gave up the processor between the two samples. Threads
// there before the port (a sanitizer's own, for one) are not counted.
std::uint64_t BusiestPortThread(const std::map<int, std::uint64_t>& beforePort,
                                const std::map<int, std::uint64_t>& before,
                                const std::map<int, std::uint64_t>& after) {
    std::uint64_t busiest = 0;
    for (const auto& [tid, count] : after) {
        const auto earlier = before.find(tid);
        if (beforePort.count(tid) != 0 || earlier == before.end()) continue;
        busiest = std::max(busiest, count - earlier->second);
    }
    return busiest;
}

TEST(VanishedDevice, IsRetriedSeldomAndAReopenReadsTheLiveDeviceAgain) {
    TestDispatcher window;
    std::vector<std::string> lines;
    qdax_test::PtyDevice vanishing;
    // ThreadSanitizer starts a helper thread of its own, waking ten times a second, along with
    // the first thread: one started here first keeps it out of the port's threads.
    std::thread([] {}).join();
    const auto beforePort = qdax_test::ContextSwitchesByThread();
    SerialPortInfo port(vanishing.SlavePath(), 19200, ParityNone, StopBitsOne, 50,
                        WriteModeOverlapped, [&](const char* line) { lines.emplace_back(line); });
    ASSERT_TRUE(port.IsOpen());
    vanishing.CloseMaster();
    ASSERT_TRUE(window.ServeUntil([&] { return lines.size() >= 2; })) << "the failure's report";
    const std::vector<std::string> report = {"The device is not connected.", ""};
    EXPECT_EQ(lines, report) << "the system's text for the failed read, with its line end";

    // The retries wait 50, 100, 200, 400 and 800 ms, then a second each time: six in the first
    // 3 s after the report and three in the next 3 s, a turn each. Retrying at the read pace
    // would take 60 turns in each, a fixed 150 ms 20; a busier machine only makes fewer.
    const auto atReport = qdax_test::ContextSwitchesByThread();
    window.ServeUntil([] { return false; }, 3s);
    const auto early = qdax_test::ContextSwitchesByThread();
    window.ServeUntil([] { return false; }, 3s);
    const auto late = qdax_test::ContextSwitchesByThread();
    const std::uint64_t earlyTurns = BusiestPortThread(beforePort, atReport, early);
    const std::uint64_t lateTurns = BusiestPortThread(beforePort, early, late);
    EXPECT_LE(earlyTurns, 10u);
    EXPECT_LE(lateTurns, 5u) << "the retries grow further apart while the failure lasts";
    EXPECT_EQ(lines, report) << "a lasting error is reported once";

    qdax_test::PtyDevice live;
    port.OpenPort(live.SlavePath(), 19200, ParityNone, StopBitsOne, 50, WriteModeOverlapped);
    ASSERT_TRUE(port.IsOpen());
    ASSERT_TRUE(live.Write("BACK\r"));
    ASSERT_TRUE(window.ServeUntil([&] { return lines.size() >= 3; }));
    EXPECT_EQ(lines, (std::vector<std::string>{report[0], report[1], "BACK"}));
}

TEST(VanishedDevice, IsToldOnceWithItsCodeBeforeItsText) {
    TestDispatcher window;
    std::vector<std::string> events;
    qdax_test::PtyDevice vanishing;
    SerialPortInfo port(vanishing.SlavePath(), 19200, ParityNone, StopBitsOne, 50,
                        WriteModeOverlapped, [&](const char* line) { events.emplace_back(line); });
    ASSERT_TRUE(port.IsOpen());
    port.SetReadFailureCallback(
        [&](DWORD code) { events.push_back("failure " + std::to_string(code)); });
    ASSERT_TRUE(vanishing.Write("BEFORE\r"));
    ASSERT_TRUE(window.ServeUntil([&] { return events.size() >= 1; }));
    vanishing.CloseMaster();
    ASSERT_TRUE(window.ServeUntil([&] { return events.size() >= 4; }));
    window.ServeUntil([] { return false; }, 1s);

    const std::vector<std::string> expected{"BEFORE",
                                            "failure " + std::to_string(ERROR_DEVICE_NOT_CONNECTED),
                                            "The device is not connected.", ""};
    EXPECT_EQ(events, expected);
}

}  // namespace
