#include "tests/support/simulator_process.h"

#include <poll.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/support/child_process.h"
#include "tests/support/simulator_path.h"

namespace qdax_test {
namespace {

// Reads whole lines from `fd` until there are `count` of them, the writer closes its end, or
// `timeout` passes.
std::vector<std::string> ReadLines(int fd, std::size_t count, std::chrono::milliseconds timeout) {
    std::vector<std::string> lines;
    std::string partial;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (lines.size() < count) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) break;
        char byte;
        if (read(fd, &byte, 1) != 1) break;
        if (byte != '\n') {
            partial.push_back(byte);
            continue;
        }
        lines.push_back(partial);
        partial.clear();
    }
    return lines;
}

}  // namespace

SimulatorProcess::SimulatorProcess(const std::string& portsDir,
                                   const std::vector<std::string>& arguments)
    : portsDir_(portsDir) {
    std::vector<std::string> words{"--ports-dir", portsDir, "--print-path"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    ChildProcess child = StartChild(SimulatorPath(), words, false);
    pid_ = child.pid;
    std::vector<std::string> lines = ReadLines(child.stdoutFd, 2, kGenerousTimeout);
    // It prints nothing more; closing the pipe early is harmless since it ignores SIGPIPE.
    close(child.stdoutFd);
    if (lines.size() == 2) {
        comName_ = lines[0];
        ptyPath_ = lines[1];
        return;
    }
    if (isRunning()) kill();
    throw std::runtime_error("qdax-sim did not name its port (exit status " +
                             (exitCode_ ? std::to_string(*exitCode_) : std::string("unknown")) +
                             ")");
}

SimulatorProcess::~SimulatorProcess() {
    if (isRunning() && !stop()) kill();
}

bool SimulatorProcess::isRunning() {
    return !waitForExit(std::chrono::milliseconds(0));
}

std::optional<int> SimulatorProcess::waitForExit(std::chrono::milliseconds timeout) {
    if (!exitCode_) exitCode_ = WaitForChild(pid_, timeout);
    return exitCode_;
}

std::optional<int> SimulatorProcess::stop(int signalNumber) {
    return signalAndWait(signalNumber);
}

std::optional<int> SimulatorProcess::kill() {
    return signalAndWait(SIGKILL);
}

std::optional<int> SimulatorProcess::signalAndWait(int signalNumber) {
    if (!exitCode_) ::kill(pid_, signalNumber);
    return waitForExit();
}

}  // namespace qdax_test
