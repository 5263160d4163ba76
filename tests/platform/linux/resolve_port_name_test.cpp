#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "platform/linux/linux_ports.h"
#include "tests/platform/linux/fake_sysfs.h"
#include "tests/support/temp_dir.h"

namespace {

using linux_ports_test::FakeSysfs;
using linux_ports_test::KernelLayout;
using platform::PortSources;
using platform::ResolvePortName;
using qdax_test::TempDir;

// The name to resolve; "<ports>" in the expected path stands for the ports directory.
struct ResolveCase {
    std::string name;
    std::optional<std::string> path;
};

void PrintTo(const ResolveCase& c, std::ostream* out) {
    *out << '"' << c.name << '"';
}

class ResolvePortNameTest : public testing::TestWithParam<ResolveCase> {
protected:
    ResolvePortNameTest() : sysfs_(sysfsDir_.path()) {
        sysfs_.AddPnpUart("ttyS0", KernelLayout::Since65, 4);
        sysfs_.AddPlaceholderUart("ttyS1", KernelLayout::Since65);
        sysfs_.AddUsbSerial("ttyUSB0", {"0403", "6001", "FTDI", "FT232R USB UART"});
        sysfs_.AddOnBoardUart("ttyXYZ3", KernelLayout::Since65, "platform", "xyz-uart");
        std::filesystem::create_symlink("/dev/null", portsDir_.path() + "/COM5");
        std::filesystem::create_symlink("/dev/null", portsDir_.path() + "/COM1");
    }

    PortSources Sources() const { return PortSources{sysfs_.root(), portsDir_.path()}; }

    std::optional<std::string> Expected() const {
        std::optional<std::string> path = GetParam().path;
        if (path && path->rfind("<ports>", 0) == 0) path = portsDir_.path() + path->substr(7);
        return path;
    }

private:
    TempDir sysfsDir_;
    TempDir portsDir_;
    FakeSysfs sysfs_;
};

TEST_P(ResolvePortNameTest, GivesTheDevicePathThatOpens) {
    EXPECT_EQ(ResolvePortName(GetParam().name, Sources()), Expected());
}

INSTANTIATE_TEST_SUITE_P(
    Names, ResolvePortNameTest,
    testing::Values(ResolveCase{"COM1", "/dev/ttyS0"}, ResolveCase{"com1", "/dev/ttyS0"},
                    ResolveCase{"\\\\.\\COM1", "/dev/ttyS0"}, ResolveCase{"COM300", "/dev/ttyUSB0"},
                    ResolveCase{"Com300", "/dev/ttyUSB0"},
                    ResolveCase{"COMttyXYZ3", "/dev/ttyXYZ3"},
                    ResolveCase{"comTTYxyz3", "/dev/ttyXYZ3"}, ResolveCase{"COM5", "<ports>/COM5"},
                    ResolveCase{"\\\\.\\com5", "<ports>/COM5"},
                    // Paths open as they are, whether a port has them or not.
                    ResolveCase{"/dev/ttyUSB0", "/dev/ttyUSB0"},
                    ResolveCase{"/dev/ttyUSB7", "/dev/ttyUSB7"},
                    ResolveCase{"\\\\.\\/dev/pts/4", "/dev/pts/4"},
                    // Names no port has: the placeholder's, numbers nobody uses, bare tty names.
                    ResolveCase{"COM2", std::nullopt}, ResolveCase{"COM99", std::nullopt},
                    ResolveCase{"COM05", std::nullopt}, ResolveCase{"COM", std::nullopt},
                    ResolveCase{"ttyS0", std::nullopt}, ResolveCase{"dev/ttyS0", std::nullopt},
                    ResolveCase{"", std::nullopt}, ResolveCase{"\\\\.\\", std::nullopt}));

TEST(ResolvePortName, UnconfiguredSourcesResolveOnlyPaths) {
    EXPECT_EQ(ResolvePortName("COM1", PortSources{}), std::nullopt);
    EXPECT_EQ(ResolvePortName("/dev/ttyS0", PortSources{}), "/dev/ttyS0");
}

}  // namespace
