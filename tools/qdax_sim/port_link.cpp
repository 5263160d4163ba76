#include "tools/qdax_sim/port_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace qdax_sim {
namespace {

std::string CreateDirectories(const std::string& dir) {
    for (std::size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
        std::string prefix = dir.substr(0, slash);
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            return "cannot create " + prefix + ": " + std::strerror(errno);
        }
        if (slash == std::string::npos) return {};
    }
}

std::vector<int> CandidateNumbers(std::optional<int> number) {
    if (number) return {*number};
    std::vector<int> numbers;
    for (int n = 9; n <= 255; ++n) numbers.push_back(n);
    for (int n = 1; n <= 8; ++n) numbers.push_back(n);
    return numbers;
}

bool EntryExists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

}  // namespace

std::string PortLink::Publish(const std::string& dir, const std::string& target,
                              std::optional<int> number) {
    if (std::string error = CreateDirectories(dir); !error.empty()) return error;
    for (int candidate : CandidateNumbers(number)) {
        std::string name = "COM" + std::to_string(candidate);
        std::string path = dir + "/" + name;
        if (EntryExists(path) && !number) continue;
        // Another simulator may take the same name between the look and the link.
        if (symlink(target.c_str(), path.c_str()) == 0) {
            linkPath_ = path;
            target_ = target;
            comName_ = name;
            return {};
        }
        if (errno != EEXIST) return "cannot link " + path + ": " + std::strerror(errno);
    }
    if (number) return "COM" + std::to_string(*number) + " is already taken in " + dir;
    return "every COM number is taken in " + dir;
}

void PortLink::Remove() {
    if (linkPath_.empty()) return;
    std::error_code error;
    if (std::filesystem::read_symlink(linkPath_, error) == target_ && !error) {
        unlink(linkPath_.c_str());
    }
    linkPath_.clear();
}

}  // namespace qdax_sim
