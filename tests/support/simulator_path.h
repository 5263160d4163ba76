// Where the build put the qdax-sim program.
#pragma once

namespace qdax_test {

const char* SimulatorPath();

}  // namespace qdax_test
