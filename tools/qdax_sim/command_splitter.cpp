#include "tools/qdax_sim/command_splitter.h"

namespace qdax_sim {

std::vector<std::string> CommandSplitter::Feed(std::string_view bytes) {
    std::vector<std::string> commands;
    for (char byte : bytes) {
        if (byte == '\r') {
            commands.push_back(std::move(pending_));
            pending_.clear();
        } else if (byte != '\n') {
            pending_.push_back(byte);
        }
    }
    return commands;
}

}  // namespace qdax_sim
