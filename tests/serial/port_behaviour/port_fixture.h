// The fixture of the behavioural suite: a port object on the window thread of the test, against
// the device that the device agent holds. The same sources run natively and under Wine.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "serial/serial_port_info.h"
#include "tests/platform/test_dispatcher.h"
#include "tests/support/device_agent_client.h"

namespace port_behaviour {

// A COM name that no device answers to.
inline const std::string kNoSuchPort = "COM98";

// The two ways of opening a port, for tests that must hold for both.
struct ModeCase {
    const char* name;
    WriteModeType mode;
};
std::vector<ModeCase> BothModes();
std::string ModeName(const testing::TestParamInfo<ModeCase>& info);

class PortBehaviour : public testing::Test {
protected:
    PortBehaviour();
    ~PortBehaviour() override;

    const std::string& DevicePort() const { return devicePort_; }
    LineReceivedCallback Collect();
    std::unique_ptr<SerialPortInfo> Open(const std::string& name,
                                         WriteModeType writeMode = WriteModeOverlapped);
    void Reopen(SerialPortInfo& port, const std::string& name,
                WriteModeType writeMode = WriteModeOverlapped);
    // Serves the window thread until at least as many lines as expected came; true when they
    // are exactly the expected ones.
    bool LinesBecome(const std::vector<std::string>& expected);
    // Serves the window thread until one more hand-over than `served` ran.
    bool HandOverAfter(std::size_t served);
    // Serves the window thread for a while; only to show that nothing more arrives.
    void ServeAWhile();

    TestDispatcher window;
    qdax_test::DeviceAgentClient device;
    std::vector<std::string> lines;
    std::vector<std::string> boxes;
    std::vector<DWORD> boxCodes;

private:
    std::string devicePort_;
    platform::MessageBoxHandler previousBox_;
};

}  // namespace port_behaviour
