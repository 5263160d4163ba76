#include "bench/flood/cat_flood.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "tests/support/child_process.h"
#include "tests/support/simulator_process.h"
#include "tests/support/wait_until.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPatienceMs = 10'000;

// Whether process `pid` has `path` open.
bool HoldsOpen(pid_t pid, const std::string& path) {
    std::error_code error;
    const std::filesystem::path fds = "/proc/" + std::to_string(pid) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(fds, error)) {
        if (std::filesystem::read_symlink(entry.path(), error) == path) return true;
    }
    return false;
}

// The far end of the device, in the same raw mode the loader sets: cat gets the bytes unchanged.
int OpenRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (fd < 0 || tcgetattr(fd, &settings) != 0) throw std::runtime_error("cannot open " + path);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

std::string ReadUntil(int fd, std::size_t count) {
    std::string received;
    received.reserve(count);
    char buffer[64 * 1024];
    while (received.size() < count) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, kPatienceMs) <= 0) break;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        received.append(buffer, static_cast<std::size_t>(got));
    }
    return received;
}

}  // namespace

CatFlood CatReadsTheFlood(const std::string& portsDir, const FloodShape& shape) {
    qdax_test::SimulatorProcess device(portsDir, shape.SimulatorOptions());
    const int farEnd = OpenRaw(device.ptyPath());
    const qdax_test::ChildProcess cat =
        qdax_test::StartChild("/bin/cat", {device.ptyPath()}, false);
    if (!qdax_test::WaitUntil([&] { return HoldsOpen(cat.pid, device.ptyPath()); })) {
        throw std::runtime_error("cat did not open " + device.ptyPath());
    }
    const std::string expected = shape.Wire();

    const auto start = Clock::now();
    if (write(farEnd, "FLOOD\r", 6) != 6) throw std::runtime_error("cannot send the command");
    const std::string received = ReadUntil(cat.stdoutFd, expected.size());
    const auto end = Clock::now();

    kill(cat.pid, SIGTERM);
    qdax_test::WaitForChild(cat.pid, qdax_test::kGenerousTimeout);
    close(cat.stdoutFd);
    close(farEnd);
    return {std::chrono::duration<double>(end - start).count(), received == expected};
}
