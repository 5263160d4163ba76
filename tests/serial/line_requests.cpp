// Stands in for the C library's ioctl in this test program, so it must not see <termios.h>: it
// notes each TCSETS2 and passes every request on to the kernel unchanged.
#include "tests/serial/line_requests.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdarg>
#include <mutex>

namespace serial_test {
namespace {

std::mutex requestsMutex;
std::optional<LineRequest> lastRequest;

}  // namespace

void ForgetLineRequests() {
    std::lock_guard lock(requestsMutex);
    lastRequest.reset();
}

std::optional<LineRequest> LastLineRequest() {
    std::lock_guard lock(requestsMutex);
    return lastRequest;
}

}  // namespace serial_test

extern "C" int ioctl(int fd, unsigned long request, ...) {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    if (request == TCSETS2 && argument != nullptr) {
        const auto* line = static_cast<const termios2*>(argument);
        std::lock_guard lock(serial_test::requestsMutex);
        serial_test::lastRequest = serial_test::LineRequest{line->c_iflag, line->c_cflag};
    }
    return static_cast<int>(syscall(SYS_ioctl, fd, request, argument));
}
