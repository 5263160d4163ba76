// A fresh directory for one test, removed with everything in it when the object goes.
#pragma once

#include <string>

namespace qdax_test {

class TempDir {
public:
    // Throws std::runtime_error when no directory can be made.
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }

    // `name` inside the directory.
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace qdax_test
