// A directory of its own below the system's temporary directory, removed with everything in it.
#pragma once

#include <string>

namespace linux_ports_test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace linux_ports_test
