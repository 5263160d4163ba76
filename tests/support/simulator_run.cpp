#include "tests/support/simulator_run.h"

#include "tests/support/child_process.h"
#include "tests/support/simulator_path.h"

namespace qdax_test {

SimulatorRun RunSimulator(const std::vector<std::string>& arguments,
                          std::chrono::milliseconds timeout) {
    return CollectChild(StartChild(SimulatorPath(), arguments, true), timeout);
}

}  // namespace qdax_test
