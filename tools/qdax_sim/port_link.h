// The COM<n> symbolic link that publishes the simulator's pseudo-terminal in the ports directory.
#pragma once

#include <optional>
#include <string>

namespace qdax_sim {

class PortLink {
public:
    PortLink() = default;
    ~PortLink() { Remove(); }
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    // Links COM<number> in `dir` (created with mode 0700 where missing) to `target`. Without a
    // number it takes the first free one of 9..255, then 1..8; a name is free when the directory
    // has no entry of that name. Empty on success, otherwise what failed.
    std::string Publish(const std::string& dir, const std::string& target,
                        std::optional<int> number);

    const std::string& comName() const { return comName_; }

    // Removes the link, but only while it still points at our target: someone else may have
    // taken the name over since.
    void Remove();

private:
    std::string linkPath_;
    std::string target_;
    std::string comName_;
};

}  // namespace qdax_sim
