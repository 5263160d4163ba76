#include <gtest/gtest.h>

#include <termios.h>
#include <ostream>

#include <string>

#include "platform/comm.h"
#include "tests/platform/posix/line_probe.h"
#include "tests/platform/posix/port_fixture.h"

namespace {

using comm_test::ProbedLine;
using comm_test::ProbeLine;

class SettingsTest : public comm_test::PortOnPty {
protected:
    DCB State() {
        DCB dcb{};
        EXPECT_TRUE(platform::GetCommState(port_, &dcb));
        return dcb;
    }
    ProbedLine Line() { return ProbeLine(pty_.MasterFd()); }
};

TEST_F(SettingsTest, OpenLeavesTheLineRaw) {
    const ProbedLine line = Line();
    EXPECT_EQ(line.lflag & (ECHO | ECHONL | ICANON | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON | BRKINT | PARMRK), 0u);
    // A break and a byte received in error are dropped, never read as a NUL.
    EXPECT_EQ(line.iflag & (IGNBRK | IGNPAR), static_cast<std::uint32_t>(IGNBRK | IGNPAR));
    EXPECT_EQ(line.oflag & OPOST, 0u);
    EXPECT_EQ(line.cflag & (CSIZE | PARENB), static_cast<std::uint32_t>(CS8));
    EXPECT_EQ(line.cflag & (CREAD | CLOCAL), static_cast<std::uint32_t>(CREAD | CLOCAL));
    EXPECT_EQ(line.minChars, 1);
}

// Another program that had the tty open can change its modes; the next read puts the raw ones
// back and keeps what the DCB set.
TEST_F(SettingsTest, ModesChangedFromOutsideArePutBackBeforeARead) {
    DCB dcb = State();
    dcb.fOutX = 1;
    ASSERT_TRUE(platform::SetCommState(port_, &dcb));
    termios changed{};
    ASSERT_EQ(tcgetattr(pty_.MasterFd(), &changed), 0);
    changed.c_cc[VMIN] = 0;
    changed.c_lflag |= ICANON;
    changed.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | IGNPAR);
    ASSERT_EQ(tcsetattr(pty_.MasterFd(), TCSANOW, &changed), 0);

    comm_test::Record read;
    char buffer[16];
    DWORD bytes = 0;
    ASSERT_FALSE(platform::ReadFile(port_, buffer, sizeof buffer, &bytes, &read.ov));
    ASSERT_EQ(platform::GetLastError(), ERROR_IO_PENDING);
    const ProbedLine line = Line();
    EXPECT_EQ(line.minChars, 1);
    EXPECT_EQ(line.lflag & ICANON, 0u);
    EXPECT_EQ(line.iflag & (IGNBRK | IGNPAR), static_cast<std::uint32_t>(IGNBRK | IGNPAR));
    EXPECT_EQ(line.iflag & IXON, static_cast<std::uint32_t>(IXON));
    ASSERT_TRUE(platform::CloseHandle(port_));
    port_ = INVALID_HANDLE_VALUE;
}

TEST_F(SettingsTest, FreshStateIsWindowsLikeWithTheLinesRate) {
    const DCB dcb = State();
    EXPECT_EQ(dcb.BaudRate, Line().outputSpeed);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fBinary, 1u);
    EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
}

class BaudRateTest : public SettingsTest, public testing::WithParamInterface<DWORD> {};

TEST_P(BaudRateTest, ReachesTheLineAndReadsBack) {
    DCB dcb = State();
    dcb.BaudRate = GetParam();
    ASSERT_TRUE(platform::SetCommState(port_, &dcb)) << platform::GetLastError();
    EXPECT_EQ(Line().outputSpeed, GetParam());
    EXPECT_EQ(State().BaudRate, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Rates, BaudRateTest,
                         testing::Values(9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000,
                                         230400, 250000, 460800, 921600));

struct Framing {
    BYTE byteSize;
    BYTE parity;
    BYTE stopBits;
    std::uint32_t cflag;  // the PARODD, CMSPAR and CSTOPB bits expected
};

void PrintTo(const Framing& framing, std::ostream* out) {
    *out << int{framing.byteSize} << " bits, parity " << int{framing.parity} << ", stop bits "
         << int{framing.stopBits};
}

class FramingTest : public SettingsTest, public testing::WithParamInterface<Framing> {};

// A pseudo-terminal forces 8 data bits and no parity enable; the parity kind and the stop bits
// it keeps. (How every member is encoded is checked on the kernel's record directly.)
TEST_P(FramingTest, ReachesTheLine) {
    const Framing& framing = GetParam();
    DCB dcb = State();
    dcb.ByteSize = framing.byteSize;
    dcb.Parity = framing.parity;
    dcb.StopBits = framing.stopBits;
    ASSERT_TRUE(platform::SetCommState(port_, &dcb)) << platform::GetLastError();
    EXPECT_EQ(Line().cflag & (PARODD | CMSPAR | CSTOPB), framing.cflag);
}

INSTANTIATE_TEST_SUITE_P(Frames, FramingTest,
                         testing::Values(Framing{8, NOPARITY, ONESTOPBIT, 0},
                                         Framing{7, EVENPARITY, ONESTOPBIT, 0},
                                         Framing{7, ODDPARITY, TWOSTOPBITS, PARODD | CSTOPB},
                                         Framing{8, MARKPARITY, ONESTOPBIT, PARODD | CMSPAR},
                                         Framing{6, SPACEPARITY, TWOSTOPBITS, CMSPAR | CSTOPB},
                                         Framing{5, NOPARITY, ONE5STOPBITS, CSTOPB}));

TEST_F(SettingsTest, FlowControlAndParityCheckReachTheLine) {
    DCB dcb = State();
    dcb.fParity = 1;
    dcb.fOutxCtsFlow = 1;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fOutX = 1;
    dcb.fInX = 1;
    dcb.XonChar = 0x01;
    dcb.XoffChar = 0x02;
    ASSERT_TRUE(platform::SetCommState(port_, &dcb)) << platform::GetLastError();
    ProbedLine line = Line();
    EXPECT_NE(line.iflag & INPCK, 0u);
    EXPECT_NE(line.cflag & CRTSCTS, 0u);
    EXPECT_EQ(line.iflag & (IXON | IXOFF), static_cast<std::uint32_t>(IXON | IXOFF));
    EXPECT_EQ(line.startChar, 0x01);
    EXPECT_EQ(line.stopChar, 0x02);

    dcb.fParity = 0;
    dcb.fOutxCtsFlow = 0;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    ASSERT_TRUE(platform::SetCommState(port_, &dcb));
    line = Line();
    EXPECT_EQ(line.iflag & (INPCK | IXON | IXOFF), 0u);
    EXPECT_EQ(line.cflag & CRTSCTS, 0u);
    const DCB back = State();
    EXPECT_EQ(back.fOutxCtsFlow, 0u);
    EXPECT_EQ(back.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
}

TEST_F(SettingsTest, MembersTheLineDoesNotCarryKeepWhatWasSet) {
    DCB dcb = State();
    dcb.XonLim = 77;
    dcb.XoffLim = 88;
    dcb.EofChar = 0x1A;
    dcb.EvtChar = 0x0D;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;  // a pty has no DTR: passed over, still kept
    dcb.fNull = 1;
    ASSERT_TRUE(platform::SetCommState(port_, &dcb)) << platform::GetLastError();
    const DCB back = State();
    EXPECT_EQ(back.XonLim, 77);
    EXPECT_EQ(back.XoffLim, 88);
    EXPECT_EQ(back.EofChar, 0x1A);
    EXPECT_EQ(back.EvtChar, 0x0D);
    EXPECT_EQ(back.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
    EXPECT_EQ(back.fNull, 1u);
}

struct InvalidState {
    const char* what;
    void (*spoil)(DCB&);
};

void PrintTo(const InvalidState& state, std::ostream* out) {
    *out << state.what;
}

class InvalidStateTest : public SettingsTest, public testing::WithParamInterface<InvalidState> {};

TEST_P(InvalidStateTest, FailsAndChangesNothing) {
    DCB good = State();
    good.BaudRate = 57600;
    ASSERT_TRUE(platform::SetCommState(port_, &good));
    const ProbedLine before = Line();

    DCB bad = good;
    bad.Parity = EVENPARITY;  // would change the line if anything got through
    bad.BaudRate = 115200;
    GetParam().spoil(bad);
    EXPECT_FALSE(platform::SetCommState(port_, &bad));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_PARAMETER);
    const ProbedLine after = Line();
    EXPECT_EQ(after.cflag, before.cflag);
    EXPECT_EQ(after.outputSpeed, 57600u);
    EXPECT_EQ(State().Parity, NOPARITY);
}

INSTANTIATE_TEST_SUITE_P(
    Values, InvalidStateTest,
    testing::Values(InvalidState{"one and a half stop bits with 8 data bits",
                                 [](DCB& d) { d.StopBits = ONE5STOPBITS; }},
                    InvalidState{"two stop bits with 5 data bits",
                                 [](DCB& d) {
                                     d.ByteSize = 5;
                                     d.StopBits = TWOSTOPBITS;
                                 }},
                    InvalidState{"unknown stop bits", [](DCB& d) { d.StopBits = 3; }},
                    InvalidState{"4 data bits", [](DCB& d) { d.ByteSize = 4; }},
                    InvalidState{"9 data bits", [](DCB& d) { d.ByteSize = 9; }},
                    InvalidState{"unknown parity", [](DCB& d) { d.Parity = 5; }},
                    InvalidState{"no rate", [](DCB& d) { d.BaudRate = 0; }},
                    InvalidState{"RTS toggling",
                                 [](DCB& d) { d.fRtsControl = RTS_CONTROL_TOGGLE; }},
                    InvalidState{"XON equal to XOFF", [](DCB& d) {
                                     d.fOutX = 1;
                                     d.XonChar = d.XoffChar;
                                 }}));

TEST_F(SettingsTest, TimeoutsReadBackAndAllMaxdwordIsRefused) {
    COMMTIMEOUTS set{50, 2, 300, 4, 500};
    ASSERT_TRUE(platform::SetCommTimeouts(port_, &set));
    COMMTIMEOUTS got{};
    ASSERT_TRUE(platform::GetCommTimeouts(port_, &got));
    EXPECT_EQ(got.ReadIntervalTimeout, 50u);
    EXPECT_EQ(got.ReadTotalTimeoutMultiplier, 2u);
    EXPECT_EQ(got.ReadTotalTimeoutConstant, 300u);
    EXPECT_EQ(got.WriteTotalTimeoutMultiplier, 4u);
    EXPECT_EQ(got.WriteTotalTimeoutConstant, 500u);

    COMMTIMEOUTS bad{MAXDWORD, MAXDWORD, MAXDWORD, 0, 0};
    EXPECT_FALSE(platform::SetCommTimeouts(port_, &bad));
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_PARAMETER);
    ASSERT_TRUE(platform::GetCommTimeouts(port_, &got));
    EXPECT_EQ(got.ReadIntervalTimeout, 50u);
}

}  // namespace
