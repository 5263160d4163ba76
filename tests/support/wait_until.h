// Polling for a condition that another process or thread brings about.
#pragma once

#include <chrono>
#include <functional>

namespace qdax_test {

// Long enough for a loaded machine; a test that passes only waits as long as it must.
inline constexpr std::chrono::milliseconds kGenerousTimeout{10'000};

// Checks `condition` every few milliseconds until it holds or `timeout` has passed; the result is
// the last check's.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kGenerousTimeout);

}  // namespace qdax_test
