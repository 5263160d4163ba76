// The far end of a simulated device, opened straight by its pseudo-terminal path: what a test
// sends to the device and what comes back.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "tests/support/wait_until.h"

namespace qdax_test {

class PtyClient {
public:
    // Throws std::runtime_error when the path cannot be opened.
    explicit PtyClient(const std::string& path);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    // Writes all of `bytes`; throws std::runtime_error when that fails or does not finish in time.
    void send(std::string_view bytes);

    // Reads until at least `count` bytes have been received in all; false if they have not
    // within `timeout` or the device hung up first.
    bool receiveAtLeast(std::size_t count, std::chrono::milliseconds timeout = kGenerousTimeout);

    // Reads until the device hangs up; false if it has not within `timeout`.
    bool receiveUntilHangUp(std::chrono::milliseconds timeout = kGenerousTimeout);

    // Everything received so far.
    const std::string& received() const { return received_; }
    void clearReceived() { received_.clear(); }

    bool hungUp() const { return hungUp_; }

    // Bytes that have arrived but have not been read yet.
    std::size_t unreadCount() const;

private:
    // Waits at most `timeout` for data or a hang-up and takes what there is.
    void receiveOnce(std::chrono::milliseconds timeout);

    int fd_ = -1;
    std::string received_;
    bool hungUp_ = false;
};

}  // namespace qdax_test
