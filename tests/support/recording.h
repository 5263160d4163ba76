// Reading what the simulator recorded (its --record file).
#pragma once

#include <string>

namespace qdax_test {

// The whole file as bytes; empty when it does not exist (yet).
std::string ReadRecording(const std::string& path);

}  // namespace qdax_test
