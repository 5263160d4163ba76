// Cuts the received bytes into commands: a command is the bytes before a carriage return.
// Line feeds are dropped wherever they are, so "VER" CR LF is the command VER and nothing else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qdax_sim {

class CommandSplitter {
public:
    // The commands that `bytes` completes, in order; an unfinished one is kept for later.
    std::vector<std::string> Feed(std::string_view bytes);

private:
    std::string pending_;
};

}  // namespace qdax_sim
