// A running qdax-sim: a simulated serial device on a pseudo-terminal, published as COM<n> in a
// ports directory of the test's choosing.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/wait_until.h"

namespace qdax_test {

class SimulatorProcess {
public:
    // Starts qdax-sim with `--ports-dir portsDir --print-path` and `arguments`, and waits for it
    // to name its port and pseudo-terminal. Throws std::runtime_error when it does not.
    explicit SimulatorProcess(const std::string& portsDir,
                              const std::vector<std::string>& arguments = {});
    // Stops the simulator if it still runs.
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    const std::string& comName() const { return comName_; }  // "COM9"
    const std::string& ptyPath() const { return ptyPath_; }  // "/dev/pts/3"
    std::string linkPath() const { return portsDir_ + "/" + comName_; }
    pid_t pid() const { return pid_; }

    bool isRunning();

    // The exit status as a shell shows it (128 + signal for a signal); nothing when the
    // simulator has not ended within `timeout`.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout = kGenerousTimeout);

    // SIGTERM (or `signalNumber`) and wait: the simulator removes its link and exits 0.
    std::optional<int> stop(int signalNumber = SIGTERM);

    // SIGKILL and wait: the device vanishes without cleaning up; its link stays behind.
    std::optional<int> kill();

private:
    std::optional<int> signalAndWait(int signalNumber);

    std::string portsDir_;
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
    std::string comName_;
    std::string ptyPath_;
};

}  // namespace qdax_test
