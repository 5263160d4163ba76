#include "tests/support/thread_switches.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace qdax_test {

std::map<int, std::uint64_t> ContextSwitchesByThread() {
    std::map<int, std::uint64_t> switches;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::uint64_t count = 0;
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            const std::string_view text(line);
            for (std::string_view key :
                 {"voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:"}) {
                if (text.starts_with(key)) count += std::stoull(line.substr(key.size()));
            }
        }
        switches[std::stoi(task.path().filename().string())] = count;
    }
    return switches;
}

}  // namespace qdax_test
