// The limit the window is measured against: `cat` reading the same flood from the same kind of
// simulated device.
#pragma once

#include <string>

#include "bench/flood/flood_shape.h"

struct CatFlood {
    double seconds = 0;  // from sending the command until the last byte was out of cat
    bool whole = false;  // every byte arrived, once and in order
};

// Publishes a simulator in `portsDir`, has cat read its pseudo-terminal and sends the command.
// Throws std::runtime_error when the device or cat cannot be set up.
CatFlood CatReadsTheFlood(const std::string& portsDir, const FloodShape& shape);
