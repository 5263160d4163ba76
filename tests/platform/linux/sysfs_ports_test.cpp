#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/linux/linux_ports.h"
#include "tests/platform/linux/fake_sysfs.h"
#include "tests/platform/linux/port_fields.h"
#include "tests/support/temp_dir.h"

namespace {

using linux_ports_test::FakeSysfs;
using linux_ports_test::FieldsOf;
using linux_ports_test::InstanceIdsOf;
using linux_ports_test::KernelLayout;
using linux_ports_test::PortFields;
using linux_ports_test::UsbStrings;
using platform::PortSources;
using platform::ScanSerialPorts;
using qdax_test::TempDir;

const UsbStrings kFtdi{"0403", "6001", "FTDI", "FT232R USB UART"};

std::vector<platform::LinuxSerialPort> ScanSysfs(const FakeSysfs& sysfs) {
    return ScanSerialPorts(PortSources{sysfs.root(), ""});
}

struct TtyCase {
    const char* label;
    std::function<void(FakeSysfs&)> build;
    std::optional<PortFields> port;  // nothing: the tty is not a port
};

void PrintTo(const TtyCase& c, std::ostream* out) {
    *out << c.label;
}

class SysfsTtyTest : public testing::TestWithParam<TtyCase> {};

TEST_P(SysfsTtyTest, IsListedAsExpected) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    GetParam().build(sysfs);
    const auto ports = ScanSysfs(sysfs);
    if (!GetParam().port) {
        EXPECT_TRUE(ports.empty()) << ports.front().instanceId;
        return;
    }
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(FieldsOf(ports[0]), *GetParam().port);
}

const TtyCase kTtyCases[] = {
    {"AcpiUartBefore65", [](FakeSysfs& s) { s.AddPnpUart("ttyS0", KernelLayout::Before65, 4); },
     PortFields{"COM1", "/dev/ttyS0", "ACPI", "PNP0501", "ttyS0",
                "Communications Port (/dev/ttyS0)"}},
    {"AcpiUartSince65", [](FakeSysfs& s) { s.AddPnpUart("ttyS0", KernelLayout::Since65, 4); },
     PortFields{"COM1", "/dev/ttyS0", "ACPI", "PNP0501", "ttyS0",
                "Communications Port (/dev/ttyS0)"}},
    {"PnpBiosUart", [](FakeSysfs& s) { s.AddPnpUart("ttyS1", KernelLayout::Since65, 4, false); },
     PortFields{"COM2", "/dev/ttyS1", "PNP", "PNP0501", "ttyS1",
                "Communications Port (/dev/ttyS1)"}},
    {"PnpUartOfUnknownType", [](FakeSysfs& s) { s.AddPnpUart("ttyS0", KernelLayout::Since65, 0); },
     std::nullopt},
    {"PlaceholderBefore65",
     [](FakeSysfs& s) { s.AddPlaceholderUart("ttyS1", KernelLayout::Before65); }, std::nullopt},
    {"PlaceholderSince65",
     [](FakeSysfs& s) { s.AddPlaceholderUart("ttyS1", KernelLayout::Since65); }, std::nullopt},
    {"Console", [](FakeSysfs& s) { s.AddVirtualTty("console"); }, std::nullopt},
    {"VirtualTerminal", [](FakeSysfs& s) { s.AddVirtualTty("tty0"); }, std::nullopt},
    {"PtyMaster", [](FakeSysfs& s) { s.AddVirtualTty("ptmx"); }, std::nullopt},
    {"PciUartSince65",
     [](FakeSysfs& s) { s.AddPciUart("ttyS4", KernelLayout::Since65, "0x8086", "0x9d3d"); },
     PortFields{"COM5", "/dev/ttyS4", "PCI", "VEN_8086&DEV_9D3D", "ttyS4",
                "PCI Serial Port (/dev/ttyS4)"}},
    {"PciUartBefore65",
     [](FakeSysfs& s) { s.AddPciUart("ttyS5", KernelLayout::Before65, "0x1415", "0xc158"); },
     PortFields{"COM6", "/dev/ttyS5", "PCI", "VEN_1415&DEV_C158", "ttyS5",
                "PCI Serial Port (/dev/ttyS5)"}},
    {"UsbSerialWithProduct", [](FakeSysfs& s) { s.AddUsbSerial("ttyUSB0", kFtdi); },
     PortFields{"COM300", "/dev/ttyUSB0", "USB", "VID_0403&PID_6001", "ttyUSB0",
                "FT232R USB UART (/dev/ttyUSB0)"}},
    {"UsbSerialWithManufacturerOnly",
     [](FakeSysfs& s) {
         s.AddUsbSerial("ttyUSB1", {"067b", "2303", "Prolific Technology Inc.", std::nullopt});
     },
     PortFields{"COM301", "/dev/ttyUSB1", "USB", "VID_067B&PID_2303", "ttyUSB1",
                "Prolific Technology Inc. (/dev/ttyUSB1)"}},
    {"UsbSerialWithBlankProduct",
     [](FakeSysfs& s) {
         s.AddUsbSerial("ttyUSB2", {"10c4", "ea60", "Silicon Labs", " "});
     },
     PortFields{"COM302", "/dev/ttyUSB2", "USB", "VID_10C4&PID_EA60", "ttyUSB2",
                "Silicon Labs (/dev/ttyUSB2)"}},
    {"UsbSerialWithoutStrings",
     [](FakeSysfs& s) {
         s.AddUsbSerial("ttyUSB3", {"1a86", "7523", std::nullopt, std::nullopt});
     },
     PortFields{"COM303", "/dev/ttyUSB3", "USB", "VID_1A86&PID_7523", "ttyUSB3",
                "USB Serial Port (/dev/ttyUSB3)"}},
    {"CdcAcm",
     [](FakeSysfs& s) {
         s.AddUsbAcm("ttyACM0", {"2341", "0043", "Arduino (www.arduino.cc)", "Arduino Uno"});
     },
     PortFields{"COM400", "/dev/ttyACM0", "USB", "VID_2341&PID_0043", "ttyACM0",
                "Arduino Uno (/dev/ttyACM0)"}},
    {"AmbaUart",
     [](FakeSysfs& s) { s.AddOnBoardUart("ttyAMA0", KernelLayout::Since65, "amba", "uart-pl011"); },
     PortFields{"COM500", "/dev/ttyAMA0", "AMBA", "uart-pl011", "ttyAMA0",
                "Communications Port (/dev/ttyAMA0)"}},
    {"PlatformUart",
     [](FakeSysfs& s) {
         s.AddOnBoardUart("ttymxc1", KernelLayout::Before65, "platform", "imx-uart");
     },
     PortFields{"COM601", "/dev/ttymxc1", "PLATFORM", "imx-uart", "ttymxc1",
                "Communications Port (/dev/ttymxc1)"}},
    {"UartOutsideTheFamilies",
     [](FakeSysfs& s) {
         s.AddOnBoardUart("ttyXYZ3", KernelLayout::Since65, "platform", "xyz-uart");
     },
     PortFields{"COMttyXYZ3", "/dev/ttyXYZ3", "PLATFORM", "xyz-uart", "ttyXYZ3",
                "Communications Port (/dev/ttyXYZ3)"}},
    {"Rfcomm", [](FakeSysfs& s) { s.AddRfcomm("rfcomm0"); },
     PortFields{"COM800", "/dev/rfcomm0", "BTHENUM", "RFCOMM", "rfcomm0",
                "Bluetooth Serial Port (/dev/rfcomm0)"}},
};

INSTANTIATE_TEST_SUITE_P(Ttys, SysfsTtyTest, testing::ValuesIn(kTtyCases),
                         [](const testing::TestParamInfo<TtyCase>& info) {
                             return std::string(info.param.label);
                         });

// A PC as the kernel shows it: one real UART, the placeholders, consoles and ptmx; with each UART's
// type readable, or readable by root only as older kernels have it.
struct PcCase {
    KernelLayout layout;
    bool uartTypesHidden;
};

class PcTest : public testing::TestWithParam<PcCase> {};

TEST_P(PcTest, ListsOnlyTheRealUart) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    if (GetParam().uartTypesHidden) sysfs.HideUartTypes();
    for (const char* name : {"console", "ptmx", "tty", "tty0", "tty1", "tty63"}) {
        sysfs.AddVirtualTty(name);
    }
    sysfs.AddPnpUart("ttyS0", GetParam().layout, 4);
    for (const char* name : {"ttyS1", "ttyS2", "ttyS3"}) {
        sysfs.AddPlaceholderUart(name, GetParam().layout);
    }
    const auto ports = ScanSysfs(sysfs);
    EXPECT_EQ(InstanceIdsOf(ports), std::vector<std::string>{"ttyS0"});
}

INSTANTIATE_TEST_SUITE_P(Layouts, PcTest,
                         testing::Values(PcCase{KernelLayout::Before65, false},
                                         PcCase{KernelLayout::Since65, false},
                                         PcCase{KernelLayout::Before65, true},
                                         PcCase{KernelLayout::Since65, true}));

TEST(SysfsPorts, AreOrderedByTtyNameNaturallyFamilyByFamily) {
    TempDir dir;
    FakeSysfs sysfs(dir.path());
    sysfs.AddUsbSerial("ttyUSB1", kFtdi);
    sysfs.AddPnpUart("ttyS10", KernelLayout::Since65, 4);
    sysfs.AddRfcomm("rfcomm1");
    sysfs.AddUsbAcm("ttyACM0", kFtdi);
    sysfs.AddPnpUart("ttyS2", KernelLayout::Since65, 4);
    sysfs.AddUsbSerial("ttyUSB0", kFtdi);
    sysfs.AddOnBoardUart("ttyAMA0", KernelLayout::Since65, "amba", "uart-pl011");
    sysfs.AddUsbSerial("ttyUSB10", kFtdi);
    sysfs.AddOnBoardUart("ttySAC0", KernelLayout::Since65, "platform", "s3c-uart");
    const std::vector<std::string> expected = {"rfcomm1", "ttyACM0", "ttyAMA0", "ttyS2",   "ttyS10",
                                               "ttySAC0", "ttyUSB0", "ttyUSB1", "ttyUSB10"};
    EXPECT_EQ(InstanceIdsOf(ScanSysfs(sysfs)), expected);
}

// The COM name is the tty's own: what else is plugged in does not move it.
TEST(SysfsPorts, ComNameDoesNotDependOnOtherDevices) {
    TempDir alone;
    FakeSysfs single(alone.path());
    single.AddUsbSerial("ttyUSB1", kFtdi);
    TempDir crowded;
    FakeSysfs many(crowded.path());
    many.AddUsbSerial("ttyUSB0", kFtdi);
    many.AddUsbAcm("ttyACM0", kFtdi);
    many.AddUsbSerial("ttyUSB1", kFtdi);
    many.AddPnpUart("ttyS0", KernelLayout::Since65, 4);

    const auto singlePorts = ScanSysfs(single);
    ASSERT_EQ(singlePorts.size(), 1u);
    EXPECT_EQ(singlePorts[0].comName, "COM301");
    const auto manyPorts = ScanSysfs(many);
    ASSERT_EQ(manyPorts.size(), 4u);
    EXPECT_EQ(manyPorts[3].instanceId, "ttyUSB1");
    EXPECT_EQ(manyPorts[3].comName, "COM301");
}

TEST(SysfsPorts, NoneWithoutASysfsRootOrItsTtyClass) {
    TempDir dir;
    EXPECT_TRUE(ScanSerialPorts(PortSources{"", ""}).empty());
    EXPECT_TRUE(ScanSerialPorts(PortSources{dir.path(), ""}).empty());
    EXPECT_TRUE(ScanSerialPorts(PortSources{dir.path() + "/missing", ""}).empty());
}

}  // namespace
