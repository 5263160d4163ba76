#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "tests/support/wait_until.h"

namespace qdax_test {
namespace {

void MakePipe(int fds[2]) {
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
}

// Runs in the forked child: only async-signal-safe calls until exec.
[[noreturn]] void ExecChild(const char* program, char* const* argv, pid_t parent,
                            const char* standardInput, int stdoutFd, int stderrFd) {
#ifdef __linux__
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
#else
    (void)parent;
#endif
    int input = open(standardInput, O_RDONLY);
    if (input < 0 || dup2(input, STDIN_FILENO) < 0 || dup2(stdoutFd, STDOUT_FILENO) < 0) _exit(127);
    if (stderrFd >= 0 && dup2(stderrFd, STDERR_FILENO) < 0) _exit(127);
    execv(program, argv);
    _exit(127);
}

}  // namespace

ChildProcess StartChild(const std::string& program, const std::vector<std::string>& arguments,
                        bool captureStderr, const std::string& standardInput) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    int out[2];
    int err[2] = {-1, -1};
    MakePipe(out);
    if (captureStderr) MakePipe(err);
    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid == 0)
        ExecChild(program.c_str(), argv.data(), parent, standardInput.c_str(), out[1], err[1]);
    int forkErrno = errno;
    close(out[1]);
    if (captureStderr) close(err[1]);
    if (pid < 0) {
        close(out[0]);
        if (captureStderr) close(err[0]);
        throw std::runtime_error(std::string("fork: ") + std::strerror(forkErrno));
    }
    return ChildProcess{pid, out[0], err[0], program};
}

int ExitCodeOf(int waitStatus) {
    if (WIFSIGNALED(waitStatus)) return 128 + WTERMSIG(waitStatus);
    return WEXITSTATUS(waitStatus);
}

std::optional<int> WaitForChild(pid_t pid, std::chrono::milliseconds timeout) {
    std::optional<int> exitCode;
    WaitUntil(
        [&] {
            int status = 0;
            pid_t reaped = waitpid(pid, &status, WNOHANG);
            if (reaped == pid) exitCode = ExitCodeOf(status);
            return exitCode.has_value() || reaped < 0;
        },
        timeout);
    return exitCode;
}

ChildOutcome CollectChild(const ChildProcess& child, std::chrono::milliseconds timeout) {
    ChildOutcome outcome;
    pollfd fds[2] = {{child.stdoutFd, POLLIN, 0}, {child.stderrFd, POLLIN, 0}};
    std::string* sinks[2] = {&outcome.standardOutput, &outcome.standardError};
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
        throw std::runtime_error(child.program + " did not end in time");
    }
    outcome.exitCode = *exitCode;
    return outcome;
}

}  // namespace qdax_test
