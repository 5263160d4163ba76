// Adapters as operators plug them: identical ones side by side, multi-port ones, and adapters
// pulled and plugged back in while the program runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/linux_ports.h"
#include "tests/platform/linux/fake_sysfs.h"
#include "tests/support/temp_dir.h"

namespace {

using linux_ports_test::FakeSysfs;
using linux_ports_test::KernelLayout;
using linux_ports_test::UsbStrings;
using platform::PortSources;
using platform::ResolvePortName;
using platform::ScanSerialPorts;
using qdax_test::TempDir;

UsbStrings Ftdi(std::optional<std::string> serial) {
    return {"0403", "6001", "FTDI", "FT232R USB UART", std::move(serial)};
}

class AdapterTest : public testing::Test {
protected:
    AdapterTest() : sysfs_(sysfsDir_.path()) {}

    PortSources Sources() const { return PortSources{sysfs_.root(), "", devDir_.path()}; }
    std::string Dev(const std::string& name) const { return devDir_.path() + "/" + name; }

    // "<COM name>|<friendly name>" per port, with the device root shown as /dev.
    std::vector<std::string> Listed() const {
        std::vector<std::string> listed;
        for (const platform::LinuxSerialPort& port : ScanSerialPorts(Sources())) {
            std::string friendly = port.friendlyName;
            friendly.replace(friendly.find(devDir_.path()), devDir_.path().size(), "/dev");
            listed.push_back(port.comName + "|" + friendly);
        }
        return listed;
    }

    TempDir sysfsDir_;
    TempDir devDir_;
    FakeSysfs sysfs_;
};

TEST_F(AdapterTest, FriendlyNamesTellIdenticalAndMultiPortAdaptersApart) {
    sysfs_.HideUartTypes();
    sysfs_.AddPnpUart("ttyS0", KernelLayout::Before65, 4);
    for (const char* name : {"ttyS1", "ttyS2", "ttyS3"}) {
        sysfs_.AddPlaceholderUart(name, KernelLayout::Before65);
    }
    sysfs_.AddUsbSerial("ttyUSB0", Ftdi("A10K1234"));
    sysfs_.AddUsbSerial("ttyUSB1", Ftdi("A10K5678"));
    sysfs_.AddUsbSerialAdapter({"ttyUSB2", "ttyUSB3", "ttyUSB4", "ttyUSB5"},
                               {"0403", "6011", "FTDI", "Quad RS232-HS", "FT4XYZ"});
    sysfs_.AddUsbSerial("ttyUSB6", Ftdi(std::nullopt));
    sysfs_.AddUsbAcmBoard({"ttyACM0", "ttyACM1"},
                          {"1209", "0001", "Maker", "Zwei Ports \xc3\xa4\xc3\xb6", std::nullopt});

    const std::vector<std::string> expected = {
        "COM400|Zwei Ports \xc3\xa4\xc3\xb6, port 1 (/dev/ttyACM0)",
        "COM401|Zwei Ports \xc3\xa4\xc3\xb6, port 2 (/dev/ttyACM1)",
        "COM1|Communications Port (/dev/ttyS0)",
        "COM300|FT232R USB UART, serial A10K1234 (/dev/ttyUSB0)",
        "COM301|FT232R USB UART, serial A10K5678 (/dev/ttyUSB1)",
        "COM302|Quad RS232-HS, port 1, serial FT4XYZ (/dev/ttyUSB2)",
        "COM303|Quad RS232-HS, port 2, serial FT4XYZ (/dev/ttyUSB3)",
        "COM304|Quad RS232-HS, port 3, serial FT4XYZ (/dev/ttyUSB4)",
        "COM305|Quad RS232-HS, port 4, serial FT4XYZ (/dev/ttyUSB5)",
        "COM306|FT232R USB UART (/dev/ttyUSB6)",
    };
    EXPECT_EQ(Listed(), expected);
}

// Pulled, the adapter's name resolves to nothing, even while another adapter holds its old tty
// name; plugged back in under another tty name, the name reaches it again.
TEST_F(AdapterTest, ComNameFollowsItsAdapterAcrossAReplug) {
    sysfs_.AddUsbSerial("ttyUSB0", Ftdi("A10K1234"));
    ASSERT_EQ(ResolvePortName("COM300", Sources()), Dev("ttyUSB0"));

    sysfs_.Unplug("ttyUSB0");
    EXPECT_EQ(ResolvePortName("COM300", Sources()), std::nullopt);
    sysfs_.AddUsbSerial("ttyUSB0", Ftdi("B20K0001"));
    EXPECT_EQ(ResolvePortName("COM300", Sources()), std::nullopt);
    EXPECT_EQ(ResolvePortName("COM301", Sources()), Dev("ttyUSB0"));

    sysfs_.AddUsbSerial("ttyUSB1", Ftdi("A10K1234"));
    EXPECT_EQ(ResolvePortName("COM300", Sources()), Dev("ttyUSB1"));
    EXPECT_EQ(Listed(),
              (std::vector<std::string>{"COM301|FT232R USB UART, serial B20K0001 (/dev/ttyUSB0)",
                                        "COM300|FT232R USB UART, serial A10K1234 (/dev/ttyUSB1)"}));
}

// Without a serial number only the socket tells identical adapters apart: udev's by-path link
// where there is one, else the USB bus path.
TEST_F(AdapterTest, AdapterWithoutSerialNumberIsKnownByItsSocket) {
    sysfs_.AddUsbSerial("ttyUSB0", Ftdi(std::nullopt));
    const std::string byPath = devDir_.path() + "/serial/by-path";
    std::filesystem::create_directories(byPath);
    std::filesystem::create_symlink("../../ttyUSB0",
                                    byPath + "/pci-0000:00:14.0-usb-0:2:1.0-port0");
    ASSERT_EQ(ResolvePortName("COM300", Sources()), Dev("ttyUSB0"));

    sysfs_.Unplug("ttyUSB0");
    sysfs_.AddUsbSerial("ttyUSB1", Ftdi(std::nullopt));  // another socket: another bus path
    std::filesystem::remove(byPath + "/pci-0000:00:14.0-usb-0:2:1.0-port0");
    std::filesystem::create_symlink("../../ttyUSB1",
                                    byPath + "/pci-0000:00:14.0-usb-0:2:1.0-port0");
    EXPECT_EQ(ResolvePortName("COM300", Sources()), Dev("ttyUSB1"));
}

}  // namespace
