#include "platform/linux/linux_virtual_ports.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace platform {

namespace fs = std::filesystem;

namespace {

// "COM" in capitals and 1 to 255 in plain decimal. Lower-case names and leading zeros are not
// accepted, so no two links can claim the same number.
std::optional<unsigned> PortNumberOf(const std::string& fileName) {
    if (fileName.size() < 4 || fileName.size() > 6 || fileName.compare(0, 3, "COM") != 0 ||
        fileName[3] == '0') {
        return std::nullopt;
    }
    unsigned number = 0;
    for (std::size_t i = 3; i < fileName.size(); ++i) {
        if (fileName[i] < '0' || fileName[i] > '9') return std::nullopt;
        number = number * 10 + static_cast<unsigned>(fileName[i] - '0');
    }
    if (number > 255) return std::nullopt;
    return number;
}

// A symbolic link that leads, possibly through further links, to a character device.
std::optional<std::string> CharacterDeviceBehind(const fs::directory_entry& entry) {
    std::error_code error;
    if (!entry.is_symlink(error) || !fs::is_character_file(entry.path(), error)) {
        return std::nullopt;
    }
    const fs::path target = fs::canonical(entry.path(), error);
    if (error) return std::nullopt;
    return target.string();
}

}  // namespace

std::vector<VirtualPortLink> ReadVirtualPortLinks(const std::string& portsDir) {
    std::vector<VirtualPortLink> links;
    if (portsDir.empty()) return links;
    std::error_code error;
    fs::directory_iterator entry(portsDir, error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        const std::optional<unsigned> number = PortNumberOf(entry->path().filename().string());
        if (!number) continue;
        if (std::optional<std::string> target = CharacterDeviceBehind(*entry)) {
            links.push_back(VirtualPortLink{*number, entry->path().string(), std::move(*target)});
        }
    }
    std::sort(links.begin(), links.end(), [](const VirtualPortLink& a, const VirtualPortLink& b) {
        return a.number < b.number;
    });
    return links;
}

}  // namespace platform
