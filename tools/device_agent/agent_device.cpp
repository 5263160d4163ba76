#include "tools/device_agent/agent_device.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

#include "tools/device_agent/port_links.h"

namespace device_agent {
namespace {

// A session leader without a terminal that opens the far end takes it as its controlling
// terminal, and is sent SIGHUP when the device vanishes; Wine's server opens ports so. The agent
// holds the terminal itself, so that no one else can take it.
void HoldAsControllingTerminal(const qdax_sim::PseudoTerminal& pty) {
    ioctl(pty.farEnd(), TIOCSCTTY, 0);
}

void LetGoOfControllingTerminal(const qdax_sim::PseudoTerminal& pty) {
    ioctl(pty.farEnd(), TIOCNOTTY);
}

}  // namespace

AgentDevice::AgentDevice(std::string linkPath) : linkPath_(std::move(linkPath)) {}

AgentDevice::~AgentDevice() {
    if (pty_ != nullptr) RemoveLinkTo(linkPath_, pty_->path());
}

std::string AgentDevice::Plug() {
    auto pty = std::make_unique<qdax_sim::PseudoTerminal>();
    if (std::string error = pty->Open(); !error.empty()) return error;
    if (std::string error = ReplaceLink(linkPath_, pty->path()); !error.empty()) return error;
    if (pty_ != nullptr) LetGoOfControllingTerminal(*pty_);
    HoldAsControllingTerminal(*pty);
    pty_ = std::move(pty);  // the old device closes here: a port still holding it is hung up
    received_.clear();
    toPort_.clear();
    return {};
}

void AgentDevice::Unplug() {
    if (pty_ != nullptr) LetGoOfControllingTerminal(*pty_);
    pty_.reset();
    toPort_.clear();
}

bool AgentDevice::Queue(std::string_view bytes) {
    if (pty_ == nullptr) return false;
    toPort_.append(bytes);
    return true;
}

int AgentDevice::Descriptor() const {
    return pty_ != nullptr ? pty_->master() : -1;
}

short AgentDevice::Events() const {
    return static_cast<short>(POLLIN | (toPort_.empty() ? 0 : POLLOUT));
}

void AgentDevice::Serve(short revents) {
    if (pty_ == nullptr) return;
    if (revents & POLLIN) {
        char buffer[4096];
        const ssize_t got = read(pty_->master(), buffer, sizeof buffer);
        if (got > 0) received_.append(buffer, static_cast<std::size_t>(got));
    }
    if ((revents & POLLOUT) && !toPort_.empty()) {
        const ssize_t put = write(pty_->master(), toPort_.data(), toPort_.size());
        if (put > 0) toPort_.erase(0, static_cast<std::size_t>(put));
    }
}

}  // namespace device_agent
