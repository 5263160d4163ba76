// The far end of a pseudo-terminal, held by a test: it plays the device whose line the code under
// test opens by the pty's path or through a COM link.
#pragma once

#include <termios.h>
#include <string>

class PtyPeer {
public:
    PtyPeer();  // throws std::runtime_error when no pty can be had
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& path() const { return path_; }
    void Write(const std::string& bytes);
    // Reads until `count` bytes have come or the generous time-out passed; returns what came.
    std::string ReadExactly(std::size_t count);
    // The line settings of the device end as the code under test left them.
    termios LineSettings() const;
    // The device vanishes: the far end sees a hang-up.
    void Vanish();
    // Publishes the pty as `ports`/COM<n>.
    void LinkAs(const std::string& portsDir, const std::string& comName) const;

private:
    int master_ = -1;
    std::string path_;
};
