#include "tests/support/child_process.h"

#include <fcntl.h>
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
[[noreturn]] void ExecChild(const char* program, char* const* argv, pid_t parent, int stdoutFd,
                            int stderrFd) {
#ifdef __linux__
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
#else
    (void)parent;
#endif
    int null = open("/dev/null", O_RDONLY);
    if (null < 0 || dup2(null, STDIN_FILENO) < 0 || dup2(stdoutFd, STDOUT_FILENO) < 0) _exit(127);
    if (stderrFd >= 0 && dup2(stderrFd, STDERR_FILENO) < 0) _exit(127);
    execv(program, argv);
    _exit(127);
}

}  // namespace

ChildProcess StartChild(const std::string& program, const std::vector<std::string>& arguments,
                        bool captureStderr) {
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
    if (pid == 0) ExecChild(program.c_str(), argv.data(), parent, out[1], err[1]);
    int forkErrno = errno;
    close(out[1]);
    if (captureStderr) close(err[1]);
    if (pid < 0) {
        close(out[0]);
        if (captureStderr) close(err[0]);
        throw std::runtime_error(std::string("fork: ") + std::strerror(forkErrno));
    }
    return ChildProcess{pid, out[0], err[0]};
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

}  // namespace qdax_test
