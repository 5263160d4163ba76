#include <gtest/gtest.h>

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <ostream>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/comm.h"
#include "platform/port_sources.h"
#include "tests/platform/posix/port_fixture.h"

extern char** environ;

namespace {

using comm_test::PortOnPty;

HANDLE OpenByName(const std::string& name) {
    return platform::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
}

// The exit status of the probe program opening `name` in a process of its own.
int OpenInOtherProcess(const std::string& name) {
    char program[] = COMM_OPEN_PROBE;
    std::string argument = name;
    char* argv[] = {program, argument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, program, nullptr, nullptr, argv, environ) != 0) return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A directory of its own, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        char pattern[] = "/tmp/qdax-comm-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

TEST_F(PortOnPty, OpensByDevicePathWithAndWithoutDevicePrefix) {
    platform::CloseHandle(port_);
    port_ = OpenByName("\\\\.\\" + pty_.SlavePath());
    ASSERT_NE(port_, INVALID_HANDLE_VALUE) << platform::GetLastError();
    DCB dcb{};
    EXPECT_TRUE(platform::GetCommState(port_, &dcb));
}

TEST_F(PortOnPty, FreshPortReportsNoTimeouts) {
    COMMTIMEOUTS timeouts{1, 2, 3, 4, 5};
    ASSERT_TRUE(platform::GetCommTimeouts(port_, &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, 0u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 0u);
}

TEST_F(PortOnPty, SecondOpenInThisProcessIsDenied) {
    EXPECT_EQ(Open(0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Open(FILE_FLAG_OVERLAPPED), INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(PortOnPty, OpenFromAnotherProcessIsDeniedUntilClosed) {
    EXPECT_EQ(OpenInOtherProcess(pty_.SlavePath()), static_cast<int>(ERROR_ACCESS_DENIED));
    ASSERT_TRUE(platform::CloseHandle(port_));
    port_ = INVALID_HANDLE_VALUE;
    EXPECT_EQ(OpenInOtherProcess(pty_.SlavePath()), 0);
    port_ = Open(FILE_FLAG_OVERLAPPED);
    EXPECT_NE(port_, INVALID_HANDLE_VALUE) << platform::GetLastError();
}

TEST_F(PortOnPty, ComNameOpensThroughConfiguredPortLinks) {
    ScratchDir ports;
    std::filesystem::create_symlink(pty_.SlavePath(), ports.path() + "/COM7");
    const platform::PortSources saved = platform::ConfiguredPortSources();
    platform::ConfigurePortSources({ports.path() + "/no-sysfs", ports.path()});
    platform::CloseHandle(port_);

    port_ = OpenByName("\\\\.\\COM7");
    EXPECT_NE(port_, INVALID_HANDLE_VALUE) << platform::GetLastError();
    EXPECT_EQ(OpenByName("COM7"), INVALID_HANDLE_VALUE);  // the same line, still open
    EXPECT_EQ(platform::GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenByName("COM8"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::GetLastError(), ERROR_FILE_NOT_FOUND);
    platform::ConfigurePortSources(saved);
}

struct FailedOpen {
    const char* what;
    std::string name;  // "<dir>" stands for a scratch directory
    DWORD error;
};

void PrintTo(const FailedOpen& open, std::ostream* out) {
    *out << open.what;
}

class FailedOpenTest : public testing::TestWithParam<FailedOpen> {};

TEST_P(FailedOpenTest, LeavesItsCode) {
    ScratchDir dir;
    std::ofstream(dir.path() + "/plain.txt") << "not a tty";
    std::string name = GetParam().name;
    if (name.rfind("<dir>", 0) == 0) name = dir.path() + name.substr(5);
    platform::SetLastError(0);
    EXPECT_EQ(OpenByName(name), INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::GetLastError(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FailedOpenTest,
    testing::Values(FailedOpen{"missing", "/dev/pts/no-such-pty", ERROR_FILE_NOT_FOUND},
                    FailedOpen{"missing with prefix", "\\\\.\\<dir>/absent", ERROR_FILE_NOT_FOUND},
                    FailedOpen{"regular file", "<dir>/plain.txt", ERROR_NOT_SUPPORTED},
                    FailedOpen{"directory", "<dir>", ERROR_ACCESS_DENIED},
                    FailedOpen{"below a file", "<dir>/plain.txt/x", ERROR_PATH_NOT_FOUND},
                    FailedOpen{"COM name not configured", "COM57", ERROR_FILE_NOT_FOUND},
                    FailedOpen{"relative name", "ttyS0", ERROR_FILE_NOT_FOUND},
                    FailedOpen{"empty", "", ERROR_FILE_NOT_FOUND}),
    [](const testing::TestParamInfo<FailedOpen>& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

TEST(OpenTest, NoNameIsAnInvalidParameter) {
    EXPECT_EQ(platform::CreateFileA(nullptr, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
