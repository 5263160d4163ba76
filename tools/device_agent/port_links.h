// Where the agent publishes COM ports, and the symbolic links that do it: a ports directory of
// the Linux port code (links named COM<n>) or a Wine prefix's dosdevices (named com<n>, the way
// Wine looks them up).
#pragma once

#include <string>
#include <string_view>

namespace device_agent {

struct PortLinks {
    std::string directory;
    bool dosNames = false;

    std::string PathOf(std::string_view comName) const;
};

// Links `linkPath` to `target` through a new name and a rename, so that an opener never finds
// the link missing. Empty on success, otherwise what failed.
std::string ReplaceLink(const std::string& linkPath, const std::string& target);

// Removes the link at `path` while it still leads to `target`: someone else may have taken the
// name over since.
void RemoveLinkTo(const std::string& path, const std::string& target);

}  // namespace device_agent
