#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "platform/linux/linux_ports.h"
#include "tests/platform/linux/fake_sysfs.h"
#include "tests/platform/linux/port_fields.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

using linux_ports_test::FakeSysfs;
using linux_ports_test::FieldsOf;
using linux_ports_test::InstanceIdsOf;
using linux_ports_test::KernelLayout;
using linux_ports_test::PortFields;
using platform::PortSources;
using platform::ScanSerialPorts;
using qdax_test::TempDir;

std::vector<platform::LinuxSerialPort> ScanPortsDir(const std::string& portsDir) {
    return ScanSerialPorts(PortSources{"", portsDir});
}

// What a directory entry named like a port can be.
enum class Entry {
    LinkToCharDevice,    // -> /dev/null
    LinkToLinkToDevice,  // -> another link -> /dev/null
    DanglingLink,        // -> a path that does not exist
    LinkToRegularFile,   // -> a plain file
    LinkToDirectory,     // -> a directory
    RegularFile,         // not a link
    Directory,           // not a link
};

void MakeEntry(const fs::path& dir, const std::string& name, Entry kind) {
    const fs::path path = dir / name;
    switch (kind) {
        case Entry::LinkToCharDevice:
            fs::create_symlink("/dev/null", path);
            break;
        case Entry::LinkToLinkToDevice:
            fs::create_symlink("/dev/null", dir / "hop");
            fs::create_symlink("hop", path);
            break;
        case Entry::DanglingLink:
            fs::create_symlink(dir / "gone", path);
            break;
        case Entry::LinkToRegularFile:
            std::ofstream(dir / "plain") << "x";
            fs::create_symlink(dir / "plain", path);
            break;
        case Entry::LinkToDirectory:
            fs::create_directory(dir / "sub");
            fs::create_symlink(dir / "sub", path);
            break;
        case Entry::RegularFile:
            std::ofstream(path) << "x";
            break;
        case Entry::Directory:
            fs::create_directory(path);
            break;
    }
}

struct EntryCase {
    std::string name;
    Entry kind;
    bool isPort;
};

void PrintTo(const EntryCase& c, std::ostream* out) {
    *out << '"' << c.name << '"';
}

class VirtualEntryTest : public testing::TestWithParam<EntryCase> {};

TEST_P(VirtualEntryTest, IsAPortOnlyWhenANamedLinkLeadsToACharacterDevice) {
    TempDir dir;
    MakeEntry(dir.path(), GetParam().name, GetParam().kind);
    const auto ports = ScanPortsDir(dir.path());
    if (!GetParam().isPort) {
        EXPECT_TRUE(ports.empty()) << ports.front().comName;
        return;
    }
    ASSERT_EQ(ports.size(), 1u);
    const std::string& name = GetParam().name;
    EXPECT_EQ(FieldsOf(ports[0]), (PortFields{name, dir.path() + "/" + name, "ROOT", "PORTS", name,
                                              "Virtual Port " + name + " (/dev/null)"}));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, VirtualEntryTest,
    testing::Values(EntryCase{"COM5", Entry::LinkToCharDevice, true},
                    EntryCase{"COM1", Entry::LinkToCharDevice, true},
                    EntryCase{"COM255", Entry::LinkToCharDevice, true},
                    EntryCase{"COM42", Entry::LinkToLinkToDevice, true},
                    EntryCase{"COM6", Entry::DanglingLink, false},
                    EntryCase{"COM7", Entry::LinkToRegularFile, false},
                    EntryCase{"COM8", Entry::LinkToDirectory, false},
                    EntryCase{"COM9", Entry::RegularFile, false},
                    EntryCase{"COM10", Entry::Directory, false},
                    // Names outside COM1 to COM255 in capitals and plain decimal.
                    EntryCase{"COM0", Entry::LinkToCharDevice, false},
                    EntryCase{"COM256", Entry::LinkToCharDevice, false},
                    EntryCase{"COM1000", Entry::LinkToCharDevice, false},
                    EntryCase{"COM07", Entry::LinkToCharDevice, false},
                    EntryCase{"com5", Entry::LinkToCharDevice, false},
                    EntryCase{"Com5", Entry::LinkToCharDevice, false},
                    EntryCase{"COM", Entry::LinkToCharDevice, false},
                    EntryCase{"COM5x", Entry::LinkToCharDevice, false},
                    EntryCase{"COM+5", Entry::LinkToCharDevice, false},
                    EntryCase{"COM 5", Entry::LinkToCharDevice, false},
                    EntryCase{"xCOM5", Entry::LinkToCharDevice, false},
                    EntryCase{"LPT1", Entry::LinkToCharDevice, false}));

// A pseudo-terminal whose slave stays open for the test's length.
class PseudoTerminal {
public:
    PseudoTerminal() : master_(posix_openpt(O_RDWR | O_NOCTTY)) {
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
            slavePath_ = ptsname(master_);
        }
    }
    ~PseudoTerminal() {
        if (master_ >= 0) close(master_);
    }
    const std::string& slavePath() const { return slavePath_; }

private:
    int master_;
    std::string slavePath_;
};

TEST(VirtualPorts, ShowThePseudoTerminalTheyLeadTo) {
    PseudoTerminal pty;
    ASSERT_FALSE(pty.slavePath().empty());
    TempDir dir;
    fs::create_symlink(pty.slavePath(), dir.path() + "/COM3");
    const auto ports = ScanPortsDir(dir.path());
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].friendlyName, "Virtual Port COM3 (" + pty.slavePath() + ")");
    EXPECT_EQ(ports[0].devicePath, dir.path() + "/COM3");
}

TEST(VirtualPorts, AreListedInAscendingNumber) {
    TempDir dir;
    for (const char* name : {"COM100", "COM12", "COM3", "COM2", "COM21"}) {
        MakeEntry(dir.path(), name, Entry::LinkToCharDevice);
    }
    const std::vector<std::string> expected = {"COM2", "COM3", "COM12", "COM21", "COM100"};
    EXPECT_EQ(InstanceIdsOf(ScanPortsDir(dir.path())), expected);
}

TEST(VirtualPorts, NoneWithoutAPortsDir) {
    TempDir dir;
    EXPECT_TRUE(ScanPortsDir("").empty());
    EXPECT_TRUE(ScanPortsDir(dir.path() + "/missing").empty());
}

// Hardware first; a link on a COM name that hardware has is left out, while a link on the name
// of a placeholder (which is no port) stays.
TEST(VirtualPorts, FollowTheHardwareWhichWinsTheirNames) {
    TempDir sysfsDir;
    FakeSysfs sysfs(sysfsDir.path());
    sysfs.AddPnpUart("ttyS0", KernelLayout::Since65, 4);
    sysfs.AddPlaceholderUart("ttyS1", KernelLayout::Since65);
    sysfs.AddUsbSerial("ttyUSB0", {"0403", "6001", "FTDI", "FT232R USB UART"});
    TempDir portsDir;
    for (const char* name : {"COM4", "COM1", "COM2"}) {
        MakeEntry(portsDir.path(), name, Entry::LinkToCharDevice);
    }
    const auto ports = ScanSerialPorts(PortSources{sysfs.root(), portsDir.path()});
    const std::vector<std::string> expected = {"ttyS0", "ttyUSB0", "COM2", "COM4"};
    ASSERT_EQ(InstanceIdsOf(ports), expected);
    EXPECT_EQ(ports[0].comName, "COM1");
    EXPECT_EQ(ports[0].devicePath, "/dev/ttyS0");
    EXPECT_EQ(ports[2].comName, "COM2");
    EXPECT_EQ(ports[2].enumerator, "ROOT");
}

}  // namespace
