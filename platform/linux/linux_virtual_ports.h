// The virtual ports: symbolic links named COM<n> in the ports directory that lead to a character
// device (a pseudo-terminal, a socat link). Other tools create them by this convention.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct VirtualPortLink {
    unsigned number;         // 1 to 255: the link is named COM<number>
    std::string linkPath;    // <portsDir>/COM<number>
    std::string targetPath;  // the device it finally leads to: "/dev/pts/3"
};

// In ascending number. Nothing when portsDir is empty.
std::vector<VirtualPortLink> ReadVirtualPortLinks(const std::string& portsDir);

}  // namespace platform
