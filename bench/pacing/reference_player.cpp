// The limit: the least a player can do under the window's rule, written directly on the
// pseudo-terminal. Write the command and its carriage return, read until a non-empty line has
// ended, read on until the line has been silent for the read-interval time-out, then the next.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "bench/pacing/playback.h"
#include "tests/support/temp_dir.h"

namespace pacing {

namespace {

constexpr int kAnswerLimitMs = 10'000;

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

void WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) Fail("write");
        done += static_cast<std::size_t>(put);
    }
}

void AwaitAnswerAndSilence(int fd) {
    bool answered = false;
    bool inLine = false;
    for (;;) {
        pollfd line{fd, POLLIN, 0};
        const int ready =
            poll(&line, 1, answered ? static_cast<int>(kSilence.count()) : kAnswerLimitMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) Fail("poll");
        if (ready == 0) {
            if (answered) return;
            throw std::runtime_error("the device did not answer");
        }
        char buffer[256];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) Fail("read");
        for (ssize_t i = 0; i < got; ++i) {
            const bool lineEnd = buffer[i] == '\r' || buffer[i] == '\n';
            answered = answered || (lineEnd && inLine);
            inLine = !lineEnd;
        }
    }
}

void PlayDirectly(const std::string& ptyPath, const std::vector<std::string>& lines) {
    const int fd = open(ptyPath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) Fail("open " + ptyPath);
    termios raw{};
    tcgetattr(fd, &raw);
    cfmakeraw(&raw);
    tcsetattr(fd, TCSANOW, &raw);
    try {
        for (const std::string& line : lines) {
            WriteAll(fd, line + '\r');
            AwaitAnswerAndSilence(fd);
        }
    } catch (...) {
        close(fd);
        throw;
    }
    close(fd);
}

}  // namespace

Playback PlayWithReferenceLoop(const CommandFile& file) {
    qdax_test::TempDir dir;
    TimedDevice device(dir.path(), dir.file("wire.fifo"));
    PlayDirectly(device.PtyPath(), file.lines);
    return device.Finish(file, [] { return false; });
}

}  // namespace pacing
