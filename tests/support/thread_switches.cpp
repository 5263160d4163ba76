#include "tests/support/thread_switches.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "tests/support/wait_until.h"

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

bool BecomesBlocked(int tid) {
    const std::string path = "/proc/self/task/" + std::to_string(tid) + "/stat";
    return WaitUntil([&] {
        std::ifstream stat(path);
        std::string line;
        std::getline(stat, line);
        const std::size_t end = line.rfind(')');  // the state follows the command name
        return end != std::string::npos && line.size() > end + 2 && line[end + 2] == 'S';
    });
}

}  // namespace qdax_test
