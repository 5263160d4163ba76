#include "tests/support/device_agent_client.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <stdexcept>

#include "tests/support/wait_until.h"
#include "tools/device_agent/agent_protocol.h"

namespace qdax_test {
namespace {

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket socket) {
    closesocket(socket);
}
// Winsock is started once for the process and left running until it ends.
void StartSockets() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started) throw std::runtime_error("no Winsock");
}
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void CloseSocket(Socket socket) {
    close(socket);
}
void StartSockets() {}
#endif

Socket AsSocket(std::uintptr_t value) {
    return static_cast<Socket>(value);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        throw std::runtime_error(std::string(name) +
                                 " is not set: run the program through run_with_device_agent");
    }
    return value;
}

// An exit status as the agent states it; nothing while the simulator runs.
std::optional<int> ExitStatusOf(const std::string& reply) {
    if (reply.empty()) return std::nullopt;
    return std::atoi(reply.c_str());
}

}  // namespace

DeviceAgentClient::DeviceAgentClient() {
    const int port = std::atoi(Environment("QDAX_DEVICE_AGENT").c_str());
    StartSockets();
    const Socket socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == kNoSocket) throw std::runtime_error("no socket for the device agent");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        CloseSocket(socket);
        throw std::runtime_error("cannot reach the device agent at port " + std::to_string(port));
    }
    socket_ = static_cast<std::uintptr_t>(socket);
}

DeviceAgentClient::~DeviceAgentClient() {
    CloseSocket(AsSocket(socket_));
}

std::string DeviceAgentClient::Ask(const std::string& request) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string line = request + "\n";
    for (std::size_t done = 0; done < line.size();) {
        const int put =
            send(AsSocket(socket_), line.data() + done, static_cast<int>(line.size() - done), 0);
        if (put <= 0) throw std::runtime_error("the device agent went away");
        done += static_cast<std::size_t>(put);
    }
    std::size_t end;
    while ((end = input_.find('\n')) == std::string::npos) {
        char buffer[4096];
        const int got = recv(AsSocket(socket_), buffer, sizeof buffer, 0);
        if (got <= 0) throw std::runtime_error("the device agent went away");
        input_.append(buffer, static_cast<std::size_t>(got));
    }
    const device_agent::Message reply = device_agent::ParseMessage(input_.substr(0, end));
    input_.erase(0, end + 1);
    if (reply.word == device_agent::kError) {
        throw std::runtime_error("the device agent refused " + request + ": " + reply.argument);
    }
    return reply.argument;
}

void DeviceAgentClient::Attach(const std::string& comName) {
    Ask(device_agent::ComposeMessage(device_agent::kDevice, comName));
}

void DeviceAgentClient::Plug() {
    Ask(std::string(device_agent::kPlug));
}

void DeviceAgentClient::Unplug() {
    Ask(std::string(device_agent::kUnplug));
}

void DeviceAgentClient::Send(std::string_view bytes) {
    Ask(device_agent::ComposeMessage(device_agent::kSend, device_agent::ToHex(bytes)));
}

std::string DeviceAgentClient::Received() {
    const std::optional<std::string> bytes =
        device_agent::FromHex(Ask(std::string(device_agent::kReceived)));
    if (!bytes) throw std::runtime_error("the device agent sent no bytes");
    return *bytes;
}

std::string DeviceAgentClient::ReceiveAtLeast(std::size_t count) {
    std::string received;
    WaitUntil([&] {
        received = Received();
        return received.size() >= count;
    });
    return received;
}

DeviceAgentClient::SimulatorNames DeviceAgentClient::Simulate(
    const std::vector<std::string>& arguments) {
    const std::string names = Ask(device_agent::ComposeMessage(
        device_agent::kSimulate, device_agent::ToHex(device_agent::JoinArguments(arguments))));
    const device_agent::Message split = device_agent::ParseMessage(names);
    return {split.word, split.argument};
}

std::string DeviceAgentClient::Wire() {
    const std::optional<std::string> bytes =
        device_agent::FromHex(Ask(std::string(device_agent::kWire)));
    if (!bytes) throw std::runtime_error("the device agent sent no bytes");
    return *bytes;
}

std::optional<int> DeviceAgentClient::Stop() {
    return ExitStatusOf(Ask(std::string(device_agent::kStop)));
}

std::optional<int> DeviceAgentClient::Kill() {
    return ExitStatusOf(Ask(std::string(device_agent::kKill)));
}

std::optional<int> DeviceAgentClient::ExitStatus() {
    return ExitStatusOf(Ask(std::string(device_agent::kExit)));
}

bool DeviceAgentClient::Linked() {
    return Ask(std::string(device_agent::kLinked)) == "1";
}

void DeviceAgentClient::Unlink() {
    Ask(std::string(device_agent::kUnlink));
}

void DeviceAgentClient::HoldNumber() {
    Ask(std::string(device_agent::kHold));
}

}  // namespace qdax_test
