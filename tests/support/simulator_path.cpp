#include "tests/support/simulator_path.h"

namespace qdax_test {

const char* SimulatorPath() {
    return QDAX_SIM_PATH;
}

}  // namespace qdax_test
