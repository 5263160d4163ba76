// SIGINT, SIGTERM and SIGHUP turned into a readable descriptor, so that the device's poll loop
// wakes up for them and the program can clean up before it exits. SIGPIPE is ignored.
#pragma once

#include <string>

namespace qdax_sim {

// Empty on success, otherwise what failed.
std::string InstallStopSignals();

// Becomes readable once a stop signal has arrived.
int StopSignalDescriptor();

}  // namespace qdax_sim
