// The setting of one end-to-end scenario: a directory of its own for the scenario's files,
// simulated devices (qdax-sim) that record every byte they receive, published as COM ports, and
// the real window listing those ports. On Linux the devices are the test's own processes and the
// window lists them as the program lists its ports directory; on Windows they run on the Linux
// side under the device agent, and the window lists them from a device tree that the scenario
// puts into the system registry.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/services/window_services.h"
#include "app/window/daxtest.h"
#include "tests/gui/gui_support.h"

#ifdef _WIN32
#include "tests/e2e/registry_device_tree.h"
#include "tests/support/device_agent_client.h"
#else
#include "platform/port_sources.h"
#include "tests/support/pty_client.h"
#include "tests/support/simulator_process.h"
#endif

namespace e2e {

// How long a scenario waits for something the device or the reader brings about.
inline constexpr int kWaitMs = 10'000;

// A running qdax-sim recording what reaches it.
class Device {
public:
#ifdef _WIN32
    explicit Device(const std::vector<std::string>& options);
#else
    Device(const std::string& portsDir, const std::string& recordPath,
           const std::vector<std::string>& options);
    // The pseudo-terminal behind the port, for tests that act on the Linux device itself.
    const std::string& PtyPath() const {
        return process_.ptyPath();
    }
#endif
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const std::string& ComName() const {
        return comName_;
    }

    // Every byte the device has received so far: the wire from the window, byte for byte.
    QByteArray Wire() const;

    // SIGTERM and wait: the simulator removes its link and exits 0. Its exit status as a shell
    // shows it; nothing when it did not end in time.
    std::optional<int> Stop();
    // SIGKILL and wait: the device vanishes without cleaning up; its link stays behind.
    std::optional<int> Kill();
    // Waits a generous time for the simulator to end by itself.
    std::optional<int> WaitForExit();

    // The log line its loss gives: the system's text for the error the port's reads then fail
    // with. On Linux a hung-up device is "not connected"; under Wine a hung-up pseudo-terminal
    // reads as a broken pipe (a Windows driver names its own error, shown the same way).
    static QString VanishedLine();

    // Whether its COM link exists; RemoveLink removes it.
    bool Linked() const;
    void RemoveLink();
    // Keeps the number of its pseudo-terminal taken while the device lives, so that once the
    // device is gone, a link it left leads nowhere rather than to another test's device.
    void KeepNumberTaken();

private:
    std::string comName_;
#ifdef _WIN32
    mutable qdax_test::DeviceAgentClient agent_;
#else
    std::string recordPath_;
    qdax_test::SimulatorProcess process_;
    std::optional<qdax_test::PtyClient> numberHold_;
#endif
};

class Scenario {
public:
    Scenario();
    ~Scenario();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    // Starts a device with `options`, published under the next free COM number.
    Device& StartDevice(const std::vector<std::string>& options = {});

    // Creates the window over the scenario's devices (and no other ports), shows it, and
    // records its boxes and answers its dialogs through Boxes().
    TMainForm& OpenWindow();
    // OpenWindow, then the port at `portIndex` chosen and "Reset Port" pressed.
    TMainForm& OpenWindowOnPort(int portIndex);
    TMainForm& Window() { return *window_; }
    RecordingModalRunner& Boxes() { return runner_; }

    const std::string& FilesDir() const { return filesDir_; }
    // A path for a file of the scenario's own, in FilesDir().
    std::string File(const std::string& name) const { return filesDir_ + "/" + name; }
#ifndef _WIN32
    // Where the window finds its ports, for a device of the caller's own (the pacing benchmark's).
    const std::string& PortsDir() const {
        return portsDir_;
    }
#endif

private:
    // The window over `registry`, shown and active.
    TMainForm& ShowWindow(platform::RegistryApi& registry);
    // The directory `name` in the scenario's own, made.
    std::string Directory(const std::string& name) const;

    QTemporaryDir root_;
    std::string filesDir_;
#ifdef _WIN32
    RegistryDeviceTree deviceTree_;
#else
    std::string portsDir_;
    platform::PortSources previousSources_;
#endif
    std::vector<std::unique_ptr<Device>> devices_;
    RecordingModalRunner runner_;
    std::unique_ptr<TMainForm> window_;
    std::unique_ptr<WindowServices> services_;
};

}  // namespace e2e
