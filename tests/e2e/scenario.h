// The setting of one end-to-end scenario: a directory of its own holding the ports directory and
// the scenario's files, simulated devices published there that record every byte they receive, and
// the real window listing those ports as the program lists its ports directory.
#pragma once

#include <QByteArray>
#include <memory>
#include <string>
#include <vector>

#include "app/daxtest.h"
#include "app/window_services.h"
#include "platform/memory_registry.h"
#include "platform/port_sources.h"
#include "tests/gui/gui_support.h"
#include "tests/support/simulator_process.h"
#include "tests/support/temp_dir.h"

namespace e2e {

// How long a scenario waits for something the device or the reader brings about.
inline constexpr int kWaitMs = 10'000;

// A running qdax-sim recording what reaches it.
class Device {
public:
    Device(const std::string& portsDir, const std::string& recordPath,
           const std::vector<std::string>& options);

    const std::string& ComName() const { return process_.comName(); }
    const std::string& PtyPath() const { return process_.ptyPath(); }
    qdax_test::SimulatorProcess& Process() { return process_; }

    // Every byte the device has received so far: the wire from the window, byte for byte.
    QByteArray Wire() const;

private:
    std::string recordPath_;
    qdax_test::SimulatorProcess process_;
};

class Scenario {
public:
    Scenario();
    ~Scenario();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    // Starts a device with `options`, published under the next free COM number.
    Device& StartDevice(const std::vector<std::string>& options = {});

    // Creates the window over the ports the ports directory holds now (no hardware ports), shows
    // it, and records its boxes and answers its dialogs through Boxes().
    TMainForm& OpenWindow();
    // OpenWindow, then the port at `portIndex` chosen and "Reset Port" pressed.
    TMainForm& OpenWindowOnPort(int portIndex);
    TMainForm& Window() { return *window_; }
    RecordingModalRunner& Boxes() { return runner_; }

    const std::string& PortsDir() const { return portsDir_; }
    const std::string& FilesDir() const { return filesDir_; }
    // A path for a file of the scenario's own, in FilesDir().
    std::string File(const std::string& name) const { return filesDir_ + "/" + name; }

private:
    qdax_test::TempDir root_;
    std::string portsDir_;
    std::string filesDir_;
    platform::PortSources previousSources_;
    std::vector<std::unique_ptr<Device>> devices_;
    std::unique_ptr<platform::InMemoryRegistry> registry_;
    RecordingModalRunner runner_;
    std::unique_ptr<TMainForm> window_;
    std::unique_ptr<WindowServices> services_;
};

}  // namespace e2e
