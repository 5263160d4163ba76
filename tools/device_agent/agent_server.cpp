#include "tools/device_agent/agent_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace device_agent {
namespace {

std::string Failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

AgentServer::AgentServer(const PortLinks& links) : links_(links), home_(links) {}

AgentServer::~AgentServer() {
    sessions_.clear();
    if (listener_ >= 0) close(listener_);
}

std::string AgentServer::Listen() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) return Failure("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        return Failure("bind");
    }
    if (listen(listener_, 8) != 0) return Failure("listen");
    socklen_t length = sizeof address;
    if (getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return Failure("getsockname");
    }
    port_ = ntohs(address.sin_port);
    return {};
}

std::string AgentServer::Run(int stopDescriptor) {
    for (;;) {
        // The stop signal and new clients first; then each session's client and its device.
        std::vector<pollfd> watched{{stopDescriptor, POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const auto& session : sessions_) {
            watched.push_back({session->Socket(), POLLIN, 0});
            watched.push_back({session->DeviceDescriptor(), session->DeviceEvents(), 0});
        }
        if (poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return Failure("poll");
        }
        if (watched[0].revents != 0) return {};
        for (std::size_t i = sessions_.size(); i-- > 0;) {
            const pollfd& client = watched[2 + 2 * i];
            const pollfd& device = watched[3 + 2 * i];
            if (device.revents != 0) sessions_[i]->ServeDevice(device.revents);
            if (client.revents != 0 && !sessions_[i]->ServeClient()) {
                sessions_.erase(sessions_.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        if (watched[1].revents & POLLIN) {
            const int socket = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (socket >= 0)
                sessions_.push_back(std::make_unique<AgentSession>(socket, links_, home_));
        }
    }
}

}  // namespace device_agent
