#include "tools/qdax_sim/pseudo_terminal.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qdax_sim {
namespace {

std::string Failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

PseudoTerminal::~PseudoTerminal() {
    Close();
}

std::string PseudoTerminal::Open() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return Failure("posix_openpt");
    if (fcntl(master_, F_SETFD, FD_CLOEXEC) != 0) return Failure("fcntl(FD_CLOEXEC)");
    if (grantpt(master_) != 0) return Failure("grantpt");
    if (unlockpt(master_) != 0) return Failure("unlockpt");
    const char* name = ptsname(master_);
    if (!name) return Failure("ptsname");
    path_ = name;

    // On Linux the termios calls on the master act on the far end.
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) return Failure("tcgetattr");
    cfmakeraw(&settings);
    if (tcsetattr(master_, TCSANOW, &settings) != 0) return Failure("tcsetattr");

    slave_ = open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) return Failure(("open " + path_).c_str());

    int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
        return Failure("fcntl(O_NONBLOCK)");
    }
    return {};
}

std::size_t PseudoTerminal::UnreadByFarEnd() const {
    int count = 0;
    if (slave_ < 0 || ioctl(slave_, TIOCINQ, &count) != 0 || count < 0) return 0;
    return static_cast<std::size_t>(count);
}

void PseudoTerminal::Close() {
    if (master_ >= 0) close(master_);
    if (slave_ >= 0) close(slave_);
    master_ = -1;
    slave_ = -1;
}

}  // namespace qdax_sim
