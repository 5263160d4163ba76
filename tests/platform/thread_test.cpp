#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>

#include "tests/platform/test_dispatcher.h"

namespace {

using namespace std::chrono_literals;

// A body that repeats: one step, then one hand-over. Steps may be made to block on a gate.
class LoopingThread : public platform::Thread {
public:
    explicit LoopingThread(bool freeOnTerminate) : freesItself_(freeOnTerminate) {
        SetFreeOnTerminate(freeOnTerminate);
    }
    ~LoopingThread() override {
        if (!freesItself_) {
            // The body uses the members below: it must have ended before they go.
            Terminate();
            ExitSignal()->Wait();
        }
        if (destroyed != nullptr) *destroyed = true;
    }

    std::atomic<int> steps{0};
    std::atomic<int> handOvers{0};  // counted on the window thread
    std::atomic<bool> stepsBlock{false};
    std::atomic<bool> insideStep{false};
    std::atomic<bool> throwInHandOver{false};
    std::promise<void> openGate;
    std::shared_future<void> gate{openGate.get_future().share()};
    std::atomic<bool>* destroyed = nullptr;

protected:
    const bool freesItself_;

    void Execute() override {
        while (!Terminated()) {
            if (!Step([this] {
                    insideStep = true;
                    if (stepsBlock) gate.wait();
                    ++steps;
                    insideStep = false;
                }))
                return;
            Synchronize([this] {
                ++handOvers;
                if (throwInHandOver) throw std::runtime_error("hand-over failed");
            });
        }
    }
};

// Gives a thread that should not move time to show it would; only used to check that nothing
// happens, never to wait for something to happen.
void Observe() {
    std::this_thread::sleep_for(100ms);
}

// Polls without serving the window thread.
bool PollUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 10000 && !done(); ++i) std::this_thread::sleep_for(1ms);
    return done();
}

TEST(Thread, CreatedHeldMakesNoProgressUntilReleased) {
    TestDispatcher window;
    LoopingThread thread(false);
    EXPECT_TRUE(thread.Suspended());
    Observe();
    EXPECT_EQ(thread.steps, 0);
    EXPECT_EQ(window.Queued(), 0u);
    thread.Resume();
    EXPECT_TRUE(window.ServeUntil([&] { return thread.handOvers >= 3; }));
    thread.Terminate();
}

TEST(Thread, HoldIsTwoStateAndCountsReleases) {
    TestDispatcher window;
    LoopingThread thread(false);
    EXPECT_EQ(thread.ReleaseCount(), 0u);
    thread.Resume();
    EXPECT_EQ(thread.ReleaseCount(), 1u);
    thread.Resume();  // not held: nothing to release
    EXPECT_EQ(thread.ReleaseCount(), 1u);
    window.ServeUntil([&] { return thread.handOvers >= 1; });
    thread.Suspend();
    thread.Suspend();
    EXPECT_TRUE(thread.Suspended());
    thread.Resume();  // one release undoes both holds
    EXPECT_FALSE(thread.Suspended());
    EXPECT_EQ(thread.ReleaseCount(), 2u);
    const int before = thread.handOvers;
    EXPECT_TRUE(window.ServeUntil([&] { return thread.handOvers >= before + 3; }));
    thread.Terminate();
}

TEST(Thread, HoldWaitsForTheStepInProgress) {
    TestDispatcher window;
    LoopingThread thread(false);
    thread.stepsBlock = true;
    thread.Resume();
    ASSERT_TRUE(window.ServeUntil([&] { return thread.insideStep.load(); }, 10s));
    auto hold = std::async(std::launch::async, [&] { thread.Suspend(); });
    EXPECT_EQ(hold.wait_for(100ms), std::future_status::timeout);
    thread.openGate.set_value();
    EXPECT_EQ(hold.wait_for(10s), std::future_status::ready);
    EXPECT_FALSE(thread.insideStep);
    thread.Terminate();
}

TEST(Thread, HeldThreadStartsNoStepAndHandsNothingOver) {
    TestDispatcher window;
    LoopingThread thread(false);
    thread.Resume();
    ASSERT_TRUE(window.ServeUntil([&] { return thread.handOvers >= 2; }));
    thread.Suspend();
    // A hand-over asked for before the hold may still run; after it, nothing more comes.
    window.ServeUntil([] { return false; }, 100ms);
    const int steps = thread.steps;
    const int handOvers = thread.handOvers;
    window.ServeUntil([] { return false; }, 200ms);
    EXPECT_EQ(thread.steps, steps);
    EXPECT_EQ(thread.handOvers, handOvers);
    thread.Resume();
    EXPECT_TRUE(window.ServeUntil([&] { return thread.handOvers > handOvers; }));
    thread.Terminate();
}

TEST(Thread, HoldingNeverWaitsForAHandOverThatIsWaiting) {
    TestDispatcher window;
    LoopingThread thread(false);
    thread.Resume();
    // Wait until the body is waiting in a hand-over that this (window) thread has not served.
    ASSERT_TRUE(PollUntil([&] { return window.Queued() > 0; }));
    auto hold = std::async(std::launch::async, [&] { thread.Suspend(); });
    EXPECT_EQ(hold.wait_for(10s), std::future_status::ready);
    thread.Terminate();
}

TEST(Thread, StopDropsAHandOverNotBegunAndTheObjectFreesItself) {
    std::atomic<bool> destroyed{false};
    std::shared_ptr<platform::ThreadExit> exit;
    {
        TestDispatcher window;
        auto* thread = new LoopingThread(true);
        thread->destroyed = &destroyed;
        exit = thread->ExitSignal();
        thread->Resume();
        // Let a hand-over queue up without serving it, then stop.
        ASSERT_TRUE(PollUntil([&] { return window.Queued() > 0; }));
        ASSERT_EQ(window.Queued(), 1u);
        thread->Terminate();
        exit->Wait();
        EXPECT_TRUE(destroyed);
        // The dropped task is still queued; serving it must touch nothing of the freed thread.
        window.ServeUntil([&] { return window.Queued() == 0; });
        EXPECT_TRUE(window.errors.empty());
    }
}

TEST(Thread, StopLetsAHeldThreadEnd) {
    TestDispatcher window;
    auto* thread = new LoopingThread(true);
    auto exit = thread->ExitSignal();
    thread->Terminate();  // never released
    exit->Wait();
    EXPECT_TRUE(exit->Done());
}

TEST(Thread, AFailingHandOverIsReportedOnTheWindowThreadAndTheThreadGoesOn) {
    TestDispatcher window;
    LoopingThread thread(false);
    thread.throwInHandOver = true;
    thread.Resume();
    EXPECT_TRUE(window.ServeUntil([&] { return thread.handOvers >= 3; }));
    EXPECT_GE(window.errors.size(), 2u);
    EXPECT_EQ(window.errors.front(), "hand-over failed");
    thread.Terminate();
}

}  // namespace
