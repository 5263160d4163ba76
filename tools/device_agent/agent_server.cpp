#include "tools/device_agent/agent_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/device_agent/agent_protocol.h"

namespace device_agent {
namespace {

std::string Failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool SendAll(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

}  // namespace

AgentServer::~AgentServer() {
    for (const Client& client : clients_) close(client.socket);
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

std::string AgentServer::Answer(AgentDevice& device, std::string_view request) {
    const Message message = ParseMessage(request);
    if (message.word == kPlug) {
        const std::string error = device.Plug();
        return error.empty() ? ComposeMessage(kOk) : ComposeMessage(kError, error);
    }
    if (message.word == kUnplug) {
        device.Unplug();
        return ComposeMessage(kOk);
    }
    if (message.word == kSend) {
        const std::optional<std::string> bytes = FromHex(message.argument);
        if (!bytes) return ComposeMessage(kError, "not hexadecimal");
        return device.Queue(*bytes) ? ComposeMessage(kOk) : ComposeMessage(kError, "unplugged");
    }
    if (message.word == kReceived) return ComposeMessage(kData, ToHex(device.Received()));
    return ComposeMessage(kError, "unknown request " + message.word);
}

bool AgentServer::ServeClient(Client& client, AgentDevice& device) {
    char buffer[4096];
    const ssize_t got = recv(client.socket, buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) return true;
    if (got <= 0) return false;
    client.input.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = client.input.find('\n')) != std::string::npos;) {
        std::string request = client.input.substr(0, end);
        client.input.erase(0, end + 1);
        if (!request.empty() && request.back() == '\r') request.pop_back();
        if (!SendAll(client.socket, Answer(device, request) + "\n")) return false;
    }
    return true;
}

std::string AgentServer::Run(AgentDevice& device, int stopDescriptor) {
    for (;;) {
        // Fixed slots first: the stop signal, new clients, the device; then one per client.
        std::vector<pollfd> watched{{stopDescriptor, POLLIN, 0},
                                    {listener_, POLLIN, 0},
                                    {device.Descriptor(), device.Events(), 0}};
        for (const Client& client : clients_) watched.push_back({client.socket, POLLIN, 0});
        if (poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return Failure("poll");
        }
        if (watched[0].revents != 0) return {};
        if (watched[2].revents != 0) device.Serve(watched[2].revents);
        for (std::size_t i = clients_.size(); i-- > 0;) {
            if (watched[3 + i].revents == 0) continue;
            if (!ServeClient(clients_[i], device)) {
                close(clients_[i].socket);
                clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        if (watched[1].revents & POLLIN) {
            const int socket = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (socket >= 0) clients_.push_back({socket, {}});
        }
    }
}

}  // namespace device_agent
