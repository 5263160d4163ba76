#include "tools/qdax_sim/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qdax_sim {
namespace {

int g_pipe[2] = {-1, -1};

void OnStopSignal(int) {
    int savedErrno = errno;
    char byte = 1;
    [[maybe_unused]] ssize_t written = write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

std::string InstallStopSignals() {
    if (pipe(g_pipe) != 0) return std::string("pipe: ") + std::strerror(errno);
    for (int fd : g_pipe) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int number : {SIGINT, SIGTERM, SIGHUP}) {
        if (sigaction(number, &action, nullptr) != 0) {
            return std::string("sigaction: ") + std::strerror(errno);
        }
    }
    signal(SIGPIPE, SIG_IGN);
    return {};
}

int StopSignalDescriptor() {
    return g_pipe[0];
}

}  // namespace qdax_sim
