#include "tests/support/simulator_run.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/support/child_process.h"
#include "tests/support/simulator_path.h"

namespace qdax_test {

SimulatorRun RunSimulator(const std::vector<std::string>& arguments,
                          std::chrono::milliseconds timeout) {
    ChildProcess child = StartChild(SimulatorPath(), arguments, true);
    SimulatorRun run;
    pollfd fds[2] = {{child.stdoutFd, POLLIN, 0}, {child.stderrFd, POLLIN, 0}};
    std::string* sinks[2] = {&run.standardOutput, &run.standardError};
    auto deadline = std::chrono::steady_clock::now() + timeout;
    int open = 2;
    while (open > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(fds, 2, static_cast<int>(left.count())) <= 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            ssize_t count = read(fds[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(count));
                continue;
            }
            close(fds[i].fd);
            fds[i].fd = -1;  // poll skips negative descriptors
            --open;
        }
    }
    for (const pollfd& fd : fds) {
        if (fd.fd >= 0) close(fd.fd);
    }
    std::optional<int> exitCode =
        WaitForChild(child.pid, open > 0 ? std::chrono::milliseconds(0) : timeout);
    if (!exitCode) {
        kill(child.pid, SIGKILL);
        WaitForChild(child.pid, timeout);
        throw std::runtime_error("qdax-sim did not end in time");
    }
    run.exitCode = *exitCode;
    return run;
}

}  // namespace qdax_test
