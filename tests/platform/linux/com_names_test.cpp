#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/linux/linux_ports.h"

namespace {

using platform::ComNameForTty;

struct ComNameCase {
    std::string tty;
    std::string comName;
};

void PrintTo(const ComNameCase& c, std::ostream* out) {
    *out << c.tty;
}

class ComNameTest : public testing::TestWithParam<ComNameCase> {};

TEST_P(ComNameTest, FollowsTheFixedRule) {
    EXPECT_EQ(ComNameForTty(GetParam().tty), GetParam().comName);
}

INSTANTIATE_TEST_SUITE_P(
    Ttys, ComNameTest,
    testing::Values(
        // On-board and PCI ports are numbered as on Windows.
        ComNameCase{"ttyS0", "COM1"}, ComNameCase{"ttyS1", "COM2"}, ComNameCase{"ttyS9", "COM10"},
        ComNameCase{"ttyS255", "COM256"}, ComNameCase{"ttyS256", "COMttyS256"},
        // Families have blocks of 100 above 256.
        ComNameCase{"ttyUSB0", "COM300"}, ComNameCase{"ttyUSB7", "COM307"},
        ComNameCase{"ttyUSB99", "COM399"}, ComNameCase{"ttyUSB100", "COMttyUSB100"},
        ComNameCase{"ttyACM0", "COM400"}, ComNameCase{"ttyACM12", "COM412"},
        ComNameCase{"ttyAMA0", "COM500"}, ComNameCase{"ttymxc3", "COM603"},
        ComNameCase{"ttyTHS1", "COM701"}, ComNameCase{"rfcomm0", "COM800"},
        ComNameCase{"ttySAC2", "COM902"}, ComNameCase{"ttyO1", "COM1001"},
        ComNameCase{"ttyHS0", "COM1100"}, ComNameCase{"ttyMSM0", "COM1200"},
        ComNameCase{"ttyPS1", "COM1301"}, ComNameCase{"ttyLP0", "COM1400"},
        ComNameCase{"ttySC4", "COM1504"}, ComNameCase{"ttyGS0", "COM1600"},
        ComNameCase{"ttyAML0", "COM1700"}, ComNameCase{"ttyMV0", "COM1800"},
        ComNameCase{"ttySTM1", "COM1901"}, ComNameCase{"ttyUL0", "COM2000"},
        ComNameCase{"ttySIF0", "COM2100"}, ComNameCase{"ttyTCU0", "COM2200"},
        // Anything else keeps its tty name behind "COM".
        ComNameCase{"ttyXYZ3", "COMttyXYZ3"}, ComNameCase{"ttyUSB01", "COMttyUSB01"},
        ComNameCase{"ttyS00", "COMttyS00"}, ComNameCase{"ttyUSB", "COMttyUSB"},
        ComNameCase{"ttyusb0", "COMttyusb0"}, ComNameCase{"ttyS1000", "COMttyS1000"}));

// Every name passes the discovery's prefix test, and no two ttys ever share one.
TEST(ComNames, NeverCollideAndAllBeginWithCom) {
    const std::vector<std::string> families = {
        "ttyS",  "ttyUSB", "ttyACM", "ttyAMA", "ttymxc", "ttyTHS", "rfcomm", "ttySAC", "ttyO",
        "ttyHS", "ttyMSM", "ttyPS",  "ttyLP",  "ttySC",  "ttyGS",  "ttyAML", "ttyMV",  "ttySTM",
        "ttyUL", "ttySIF", "ttyTCU", "ttyXYZ", "ttyFOO", "hvc",    "ttyUSB0"};
    std::set<std::string> ttys;
    std::set<std::string> comNames;
    for (const std::string& family : families) {
        for (int index = 0; index < 300; ++index) {
            for (const std::string& digits : {std::to_string(index), "0" + std::to_string(index)}) {
                const std::string name = ComNameForTty(family + digits);
                ASSERT_EQ(name.compare(0, 3, "COM"), 0) << family + digits;
                ttys.insert(family + digits);
                comNames.insert(name);
            }
        }
    }
    EXPECT_EQ(comNames.size(), ttys.size());
}

// A virtual link can only be COM1 to COM255; only ttyS ports share that range with it.
TEST(ComNames, OnlyTtySReachesTheVirtualRange) {
    for (const std::string family : {"ttyUSB", "ttyACM", "ttyAMA", "rfcomm", "ttyXYZ"}) {
        for (int index = 0; index < 200; ++index) {
            const std::string name = ComNameForTty(family + std::to_string(index));
            const std::string number = name.substr(3);
            if (!number.empty() && std::isdigit(static_cast<unsigned char>(number[0]))) {
                EXPECT_GE(std::stoi(number), 256) << family << index;
            }
        }
    }
}

}  // namespace
