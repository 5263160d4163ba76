#include "tests/serial/pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "tests/support/wait_until.h"

PtyPeer::PtyPeer() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    path_ = ptsname(master_);
    termios raw{};
    tcgetattr(master_, &raw);
    cfmakeraw(&raw);
    tcsetattr(master_, TCSANOW, &raw);
}

PtyPeer::~PtyPeer() {
    Vanish();
}

void PtyPeer::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::runtime_error("write to the pty failed");
        done += static_cast<std::size_t>(n);
    }
}

std::string PtyPeer::ReadExactly(std::size_t count) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + qdax_test::kGenerousTimeout;
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        char buffer[4096];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

termios PtyPeer::LineSettings() const {
    termios settings{};
    tcgetattr(master_, &settings);  // on a pty master this reads the line's own settings
    return settings;
}

void PtyPeer::Vanish() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

void PtyPeer::LinkAs(const std::string& portsDir, const std::string& comName) const {
    const std::string link = portsDir + "/" + comName;
    unlink(link.c_str());
    if (symlink(path_.c_str(), link.c_str()) != 0) throw std::runtime_error("cannot link " + link);
}
