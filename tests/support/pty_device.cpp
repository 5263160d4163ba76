#include "tests/support/pty_device.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace qdax_test {

PtyDevice::PtyDevice() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = ptsname(master_);
}

PtyDevice::~PtyDevice() {
    CloseMaster();
}

void PtyDevice::CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

bool PtyDevice::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        pollfd fd{master_, POLLOUT, 0};
        if (poll(&fd, 1, 10000) <= 0) return false;
        const ssize_t put = write(master_, bytes.data() + done, bytes.size() - done);
        if (put > 0) done += static_cast<std::size_t>(put);
        if (put < 0 && errno != EAGAIN && errno != EINTR) return false;
    }
    return true;
}

std::string PtyDevice::Read(std::size_t count, int patienceMs, std::size_t chunk) {
    std::string got;
    while (got.size() < count) {
        pollfd fd{master_, POLLIN, 0};
        if (poll(&fd, 1, patienceMs) <= 0) break;
        char buffer[4096];
        const std::size_t want = std::min({count - got.size(), chunk, sizeof buffer});
        const ssize_t n = read(master_, buffer, want);
        if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) break;
    }
    return got;
}

void PtyDevice::LinkAs(const std::string& portsDir, const std::string& comName) const {
    const std::string link = portsDir + "/" + comName;
    unlink(link.c_str());
    if (symlink(slavePath_.c_str(), link.c_str()) != 0) {
        throw std::runtime_error("cannot link " + link);
    }
}

}  // namespace qdax_test
