// Running qdax-sim to its end, for command lines that make it exit at once (--help, invalid
// options). A command line that starts a device would publish it in the standard ports
// directory: use SimulatorProcess for those.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/wait_until.h"

namespace qdax_test {

using SimulatorRun = ChildOutcome;

// Throws std::runtime_error when the simulator does not end within `timeout`.
SimulatorRun RunSimulator(const std::vector<std::string>& arguments,
                          std::chrono::milliseconds timeout = kGenerousTimeout);

}  // namespace qdax_test
