// The simulator's pseudo-terminal: the master it talks through, in raw non-blocking mode, and
// one descriptor of the far end that it keeps open (never reads) so that the master sees no
// hang-up while no client has the far end open.
#pragma once

#include <cstddef>
#include <string>

namespace qdax_sim {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Empty on success, otherwise what failed.
    std::string Open();

    int master() const { return master_; }
    int farEnd() const { return slave_; }  // the descriptor of the far end kept open here
    const std::string& path() const { return path_; }

    // Bytes sent to the far end that nobody has read there yet.
    std::size_t UnreadByFarEnd() const;

    // Closing the master hangs the far end up.
    void Close();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace qdax_sim
