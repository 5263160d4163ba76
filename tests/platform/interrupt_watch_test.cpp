// Ctrl+C and SIGTERM under a watch: each becomes one call on the watch's thread, the process lives
// on, and threads started afterwards leave the signals to the watch.
#include "platform/interrupts.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "tests/support/wait_until.h"

namespace {

class InterruptWatchTest : public testing::TestWithParam<int> {};

TEST_P(InterruptWatchTest, eachSignalIsOneCallAndTheProcessLivesOn) {
    std::atomic<int> calls{0};
    std::atomic<bool> onCallerThread{false};
    const pthread_t caller = pthread_self();
    platform::InterruptWatch watch([&] {
        onCallerThread = pthread_equal(pthread_self(), caller) != 0;
        ++calls;
    });

    ASSERT_EQ(::kill(::getpid(), GetParam()), 0);
    EXPECT_TRUE(qdax_test::WaitUntil([&] { return calls == 1; }));
    ASSERT_EQ(::kill(::getpid(), GetParam()), 0);
    EXPECT_TRUE(qdax_test::WaitUntil([&] { return calls == 2; }));
    EXPECT_FALSE(onCallerThread);
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptWatchTest, testing::Values(SIGINT, SIGTERM),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == SIGINT ? "SIGINT" : "SIGTERM";
                         });

TEST(InterruptWatch, threadsStartedAfterTheWatchLeaveTheSignalsToIt) {
    platform::InterruptWatch watch([] {});
    sigset_t mask;
    std::thread([&] { pthread_sigmask(SIG_BLOCK, nullptr, &mask); }).join();
    EXPECT_EQ(sigismember(&mask, SIGINT), 1);
    EXPECT_EQ(sigismember(&mask, SIGTERM), 1);
}

}  // namespace
