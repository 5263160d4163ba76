// Starting a helper program with pipes on its output, and collecting its exit.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qdax_test {

struct ChildProcess {
    pid_t pid = -1;
    int stdoutFd = -1;  // read end of the child's standard output
    int stderrFd = -1;  // read end of its standard error, -1 when it shares the caller's
    std::string program;
};

// Starts `program` with `arguments` and standard input from the file `standardInput`. The child
// gets SIGTERM if the starting thread ends before it, so a crashed test leaves no device behind.
// Throws std::runtime_error when it cannot be started.
ChildProcess StartChild(const std::string& program, const std::vector<std::string>& arguments,
                        bool captureStderr, const std::string& standardInput = "/dev/null");

// What a child that has ended said, and how it ended.
struct ChildOutcome {
    int exitCode = -1;  // as ExitCodeOf gives it
    std::string standardOutput;
    std::string standardError;
};

// Reads the child's two pipes (it must capture standard error) until it closes them, and reaps
// it. Kills it and throws std::runtime_error when it has not ended within `timeout`.
ChildOutcome CollectChild(const ChildProcess& child, std::chrono::milliseconds timeout);

// An exit status as a shell shows it: the exit code, or 128 plus the signal that ended it.
int ExitCodeOf(int waitStatus);

// Reaps `pid` once it has ended; nothing if it is still running after `timeout`.
std::optional<int> WaitForChild(pid_t pid, std::chrono::milliseconds timeout);

}  // namespace qdax_test
