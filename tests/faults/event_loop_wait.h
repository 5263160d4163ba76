// Waiting on the window thread inside its event loop: the thread serves events (the reader's
// hand-overs among them) and blocks in the event loop's poll, never in a timed sleep, so another
// thread can tell the command delay apart from this wait.
#pragma once

#include <functional>

namespace qdax_fault {

// Runs the event loop until `condition` holds or `timeoutMs` has passed; the result is the last
// check's.
bool ServeEventsUntil(const std::function<bool()>& condition, int timeoutMs);

}  // namespace qdax_fault
