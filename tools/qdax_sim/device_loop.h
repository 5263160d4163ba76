// The simulated device at work: reads commands from the pseudo-terminal, records them, and
// answers them in order, until a stop signal, the configured disconnect, or a failure.
#pragma once

#include <string>

#include "tools/qdax_sim/pseudo_terminal.h"
#include "tools/qdax_sim/recorder.h"
#include "tools/qdax_sim/sim_options.h"

namespace qdax_sim {

enum class DeviceEnd { Stopped, Disconnected, Failed };

// `error` says what failed when the result is Failed.
DeviceEnd RunDevice(const PseudoTerminal& pty, const SimOptions& options, Recorder& recorder,
                    std::string& error);

}  // namespace qdax_sim
