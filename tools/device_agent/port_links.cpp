#include "tools/device_agent/port_links.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace device_agent {

std::string PortLinks::PathOf(std::string_view comName) const {
    std::string name(comName);
    if (dosNames) {
        for (char& c : name) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return directory + "/" + name;
}

std::string ReplaceLink(const std::string& linkPath, const std::string& target) {
    const std::string fresh = linkPath + ".new";
    unlink(fresh.c_str());
    if (symlink(target.c_str(), fresh.c_str()) != 0 ||
        rename(fresh.c_str(), linkPath.c_str()) != 0) {
        return "cannot link " + linkPath + ": " + std::strerror(errno);
    }
    return {};
}

void RemoveLinkTo(const std::string& path, const std::string& target) {
    std::error_code error;
    if (std::filesystem::read_symlink(path, error) == target && !error) unlink(path.c_str());
}

}  // namespace device_agent
