// The thread class on Windows holds its thread by really suspending it, and only where it parks.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/thread.h"
#include "platform/win32_types.h"
#include "tests/platform/test_dispatcher.h"

namespace {

// A body that repeats one step and one hand-over, and lets the test see its system thread.
class ObservedThread : public platform::Thread {
public:
    ~ObservedThread() override {
        Terminate();
        ExitSignal()->Wait();
        if (handle_ != nullptr) ::CloseHandle(handle_);
    }

    // The thread's suspend count as the system keeps it; -1 before the body has started.
    // Suspending it here is safe: it is resumed at once, and nothing runs in between.
    int SuspendCount() const {
        HANDLE handle = handle_.load();
        if (handle == nullptr) return -1;
        const DWORD before = ::SuspendThread(handle);
        ::ResumeThread(handle);
        return static_cast<int>(before);
    }

    std::atomic<int> steps{0};

protected:
    void Execute() override {
        HANDLE self = nullptr;
        ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &self,
                          0, FALSE, DUPLICATE_SAME_ACCESS);
        handle_ = self;
        while (Step([this] { ++steps; })) {
            if (!Synchronize([] {})) return;
        }
    }

private:
    std::atomic<HANDLE> handle_{nullptr};
};

TEST(Win32Thread, AHeldThreadIsSuspendedBySystemAndRunsAgainWhenReleased) {
    TestDispatcher window;
    ObservedThread thread;
    thread.Resume();
    ASSERT_TRUE(window.ServeUntil([&] { return thread.steps >= 3; }));
    EXPECT_EQ(thread.SuspendCount(), 0);

    thread.Suspend();
    // It parks at its next step or hand-over, and is suspended there, exactly once.
    EXPECT_TRUE(window.ServeUntil([&] { return thread.SuspendCount() == 1; }));
    const int steps = thread.steps;
    window.ServeUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(thread.steps, steps);
    EXPECT_EQ(thread.SuspendCount(), 1);

    thread.Resume();
    EXPECT_TRUE(window.ServeUntil([&] { return thread.steps > steps + 3; }));
    EXPECT_EQ(thread.SuspendCount(), 0);
}

TEST(Win32Thread, StopEndsAThreadThatIsSuspendedWhereItParked) {
    TestDispatcher window;
    auto thread = std::make_unique<ObservedThread>();
    thread->Resume();
    ASSERT_TRUE(window.ServeUntil([&] { return thread->steps >= 1; }));
    thread->Suspend();
    ASSERT_TRUE(window.ServeUntil([&] { return thread->SuspendCount() == 1; }));
    auto exit = thread->ExitSignal();
    thread.reset();  // stops the body, which must be resumed to end
    EXPECT_TRUE(exit->Done());
}

TEST(Win32Thread, HoldingAndReleasingAtAnyMomentNeverLosesTheThread) {
    // The thread parks at the step after the hand-over served here; the releases come at varied
    // moments around its parking and suspending itself. A resume lost on the way would leave it
    // suspended for good.
    TestDispatcher window;
    ObservedThread thread;
    thread.Resume();
    for (int cycle = 0; cycle < 600; ++cycle) {
        const int steps = thread.steps;
        ASSERT_TRUE(window.ServeUntil([&] { return thread.steps > steps; })) << "cycle " << cycle;
        thread.Suspend();
        // Serves the hand-over it may be waiting in, unless it parked before asking for one.
        const std::size_t served = window.served;
        window.ServeUntil([&] { return window.served > served || thread.SuspendCount() == 1; });
        for (int pause = 0; pause < cycle % 40; ++pause) ::SwitchToThread();
        thread.Resume();
    }
}

}  // namespace
