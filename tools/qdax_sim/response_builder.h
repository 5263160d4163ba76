// What the device sends back for one command, as the options ask.
#pragma once

#include <string>
#include <vector>

#include "tools/qdax_sim/output_item.h"
#include "tools/qdax_sim/sim_options.h"

namespace qdax_sim {

inline constexpr const char* kVersionLine = "Q-Dax simulator 1.0";

// The echo (if asked for) and then the answer; items without bytes are left out.
std::vector<OutputItem> BuildResponse(const std::string& command, const SimOptions& options);

// Flood line `number`: the decimal number filled up with '.' to `length` bytes.
std::string FloodLine(std::size_t number, std::size_t length);

}  // namespace qdax_sim
