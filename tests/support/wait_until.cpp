#include "tests/support/wait_until.h"

#include <thread>

namespace qdax_test {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    constexpr std::chrono::milliseconds kInterval{5};
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        std::this_thread::sleep_for(kInterval);
    }
    return true;
}

}  // namespace qdax_test
