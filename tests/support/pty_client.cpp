#include "tests/support/pty_client.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace qdax_test {
namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds TimeLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

}  // namespace

PtyClient::PtyClient(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("open " + path + ": " + std::strerror(errno));
}

PtyClient::~PtyClient() {
    close(fd_);
}

void PtyClient::send(std::string_view bytes) {
    auto deadline = Clock::now() + kGenerousTimeout;
    while (!bytes.empty()) {
        ssize_t written = write(fd_, bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
            throw std::runtime_error(std::string("write: ") + std::strerror(errno));
        }
        pollfd writable{fd_, POLLOUT, 0};
        if (Clock::now() >= deadline ||
            poll(&writable, 1, static_cast<int>(TimeLeft(deadline).count())) <= 0) {
            throw std::runtime_error("the device does not take what is sent");
        }
    }
}

bool PtyClient::receiveAtLeast(std::size_t count, std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    while (received_.size() < count && !hungUp_ && Clock::now() < deadline) {
        receiveOnce(TimeLeft(deadline));
    }
    return received_.size() >= count;
}

bool PtyClient::receiveUntilHangUp(std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    while (!hungUp_ && Clock::now() < deadline) receiveOnce(TimeLeft(deadline));
    return hungUp_;
}

std::size_t PtyClient::unreadCount() const {
    int count = 0;
    return ioctl(fd_, TIOCINQ, &count) == 0 && count > 0 ? static_cast<std::size_t>(count) : 0;
}

void PtyClient::receiveOnce(std::chrono::milliseconds timeout) {
    pollfd readable{fd_, POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(timeout.count())) <= 0) return;
    char buffer[4096];
    ssize_t count = read(fd_, buffer, sizeof buffer);
    if (count > 0) {
        received_.append(buffer, static_cast<std::size_t>(count));
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
        // A closed master reads as end of file, or EIO.
        hungUp_ = true;
    }
}

}  // namespace qdax_test
