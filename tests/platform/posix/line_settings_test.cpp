// The kernel's record as the backend fills and reads it; uses termios2 and so not <termios.h>.
#include <asm/termbits.h>
#include <gtest/gtest.h>

#include <ostream>

#include "platform/posix/posix_line_settings.h"

namespace {

using platform::posix::DecodeLineSettings;
using platform::posix::EncodeLineSettings;
using platform::posix::LineSettings;

struct Encoding {
    BYTE dataBits;
    BYTE parity;
    bool longStop;
    tcflag_t cflag;  // CSIZE, PARENB, PARODD, CMSPAR and CSTOPB
};

void PrintTo(const Encoding& encoding, std::ostream* out) {
    *out << int{encoding.dataBits} << " bits, parity " << int{encoding.parity}
         << (encoding.longStop ? ", long stop" : "");
}

class EncodingTest : public testing::TestWithParam<Encoding> {};

TEST_P(EncodingTest, SetsTheFramingBitsAndReadsThemBack) {
    LineSettings settings;
    settings.baudRate = 9600;
    settings.dataBits = GetParam().dataBits;
    settings.parity = GetParam().parity;
    settings.longStop = GetParam().longStop;
    termios2 line{};
    line.c_cflag = CS8 | PARENB | PARODD | CMSPAR | CSTOPB | CREAD | CLOCAL;  // all to be replaced
    EncodeLineSettings(settings, line);
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), GetParam().cflag);
    EXPECT_EQ(line.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));

    LineSettings back;
    DecodeLineSettings(line, back);
    EXPECT_EQ(back.dataBits, GetParam().dataBits);
    EXPECT_EQ(back.parity, GetParam().parity);
    EXPECT_EQ(back.longStop, GetParam().longStop);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, EncodingTest,
    testing::Values(Encoding{8, NOPARITY, false, CS8}, Encoding{7, EVENPARITY, false, CS7 | PARENB},
                    Encoding{7, ODDPARITY, true, CS7 | PARENB | PARODD | CSTOPB},
                    Encoding{8, MARKPARITY, false, CS8 | PARENB | PARODD | CMSPAR},
                    Encoding{6, SPACEPARITY, true, CS6 | PARENB | CMSPAR | CSTOPB},
                    Encoding{5, NOPARITY, true, CS5 | CSTOPB}));

TEST(EncodingTest, RatesGoByTheirCodeOrAsNumbers) {
    LineSettings settings;
    termios2 line{};
    settings.baudRate = 115200;
    EncodeLineSettings(settings, line);
    EXPECT_EQ(line.c_cflag & CBAUD, static_cast<tcflag_t>(B115200));
    settings.baudRate = 250000;
    EncodeLineSettings(settings, line);
    EXPECT_EQ(line.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(line.c_ospeed, 250000u);
    EXPECT_EQ(line.c_ispeed, 250000u);
    EXPECT_EQ(line.c_cflag & (CBAUD << IBSHIFT), 0u);  // input follows output
}

TEST(EncodingTest, FlowControlAndParityCheckGoToTheirFlags) {
    LineSettings settings;
    settings.baudRate = 9600;
    settings.parityCheck = true;
    settings.hardwareFlow = true;
    settings.xonOutput = true;
    settings.xonInput = true;
    settings.xonChar = 'Q';
    settings.xoffChar = 'S';
    termios2 line{};
    EncodeLineSettings(settings, line);
    EXPECT_EQ(line.c_iflag & (INPCK | IXON | IXOFF), static_cast<tcflag_t>(INPCK | IXON | IXOFF));
    EXPECT_NE(line.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(line.c_cc[VSTART], 'Q');
    EXPECT_EQ(line.c_cc[VSTOP], 'S');
    settings = LineSettings{};
    EncodeLineSettings(settings, line);
    EXPECT_EQ(line.c_iflag & (INPCK | IXON | IXOFF), 0u);
    EXPECT_EQ(line.c_cflag & CRTSCTS, 0u);
}

}  // namespace
