// Appends every byte the device receives to a file, as it arrives, so that a test can compare
// the wire byte for byte.
#pragma once

#include <string>
#include <string_view>

namespace qdax_sim {

class Recorder {
public:
    Recorder() = default;
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Empty on success, otherwise what failed.
    std::string Open(const std::string& path);

    // Does nothing while no file is open. Empty on success, otherwise what failed.
    std::string Append(std::string_view bytes);

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace qdax_sim
