// The setting of one close of the real program: a simulated device that records what it
// receives, published as a COM port the program lists, and the program started as its operator
// starts it, with the scripted operator inside. On Linux the device is the test's own simulator
// and the program a child process; on Windows the device runs on the Linux side under the device
// agent, the program lists it from the system registry, and the operator reads a copy of the
// device's recording that the test keeps up to date.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <optional>
#include <string>

#include "tests/faults/operator_plugin/operator_script.h"

#ifdef _WIN32
#include <atomic>
#include <thread>

#include "tests/e2e/registry_device_tree.h"
#include "tests/support/device_agent_client.h"
#else
#include "tests/support/simulator_process.h"
#endif

namespace qdax_fault {

struct ProgramOutcome {
    std::optional<std::string> said;  // its first line of output
    std::optional<int> status;        // its exit status; nothing when it did not end in time
};

class ClosingRun {
public:
    // Starts the device: `silent`, it never answers. Throws std::runtime_error when it cannot.
    explicit ClosingRun(bool silent);
    ~ClosingRun();
    ClosingRun(const ClosingRun&) = delete;
    ClosingRun& operator=(const ClosingRun&) = delete;

    QString ComName() const;
    // The device's recording as the operator reads it.
    QString WirePath() const;
    // A file of the run's own, named `name`, for the operator to load.
    QString File(const QString& name) const;

    // Runs the program with `script` until it ends by itself, waiting a generous time beyond
    // `delay` for that; one that does not end is killed.
    ProgramOutcome RunProgram(const qdax_operator::OperatorScript& script,
                              std::chrono::milliseconds delay);

    // Every byte the device has received.
    QByteArray Wire();
    bool DeviceRunning();

private:
    QTemporaryDir root_;
#ifdef _WIN32
    qdax_test::DeviceAgentClient device_;
    e2e::RegistryDeviceTree deviceTree_;
    std::string comName_;
    std::atomic<bool> copying_{true};
    std::thread wireCopier_;
#else
    std::optional<qdax_test::SimulatorProcess> device_;
#endif
};

}  // namespace qdax_fault
