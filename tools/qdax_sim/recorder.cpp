#include "tools/qdax_sim/recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qdax_sim {

Recorder::~Recorder() {
    if (fd_ >= 0) close(fd_);
}

std::string Recorder::Open(const std::string& path) {
    fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0) return "cannot open " + path + ": " + std::strerror(errno);
    path_ = path;
    return {};
}

std::string Recorder::Append(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        ssize_t written = write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return "cannot write " + path_ + ": " + std::strerror(errno);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

}  // namespace qdax_sim
