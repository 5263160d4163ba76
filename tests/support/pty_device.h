// A pseudo-terminal for the tests: the test holds the master, the code under test opens the
// slave by its /dev/pts path. Master reads and writes poll with generous time-outs.
#pragma once

#include <string>

namespace qdax_test {

class PtyDevice {
public:
    PtyDevice();
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }

    // Writes all of `bytes` to the master; false when the line took nothing for seconds.
    bool Write(const std::string& bytes);
    // Up to `count` bytes from the master, waiting for each chunk up to `patienceMs`; fewer when
    // nothing more came in that time.
    std::string Read(std::size_t count, int patienceMs = 10000, std::size_t chunk = 4096);
    // The far end goes away: the slave sees a hang-up.
    void CloseMaster();
    // Publishes the slave as a virtual port: the link `portsDir`/`comName`.
    void LinkAs(const std::string& portsDir, const std::string& comName) const;

private:
    int master_ = -1;
    std::string slavePath_;
};

}  // namespace qdax_test
