// Another process holding a serial port, opened the way the loader opens its ports: it says
// "holding" on standard output once the port is its own, and lets go when it gets SIGTERM.
#include <signal.h>

#include <cstdio>

#include "platform/posix/posix_port_open.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DEVICE\n", argv[0]);
        return 2;
    }
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigprocmask(SIG_BLOCK, &stop, nullptr);

    const platform::posix::OpenedLine line = platform::posix::OpenSerialLine(argv[1]);
    if (line.fd < 0) {
        std::fprintf(stderr, "cannot hold %s: error %u\n", argv[1], line.error);
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    int signalNumber = 0;
    sigwait(&stop, &signalNumber);
    platform::posix::ReleaseSerialLine(line.fd);
    return 0;
}
