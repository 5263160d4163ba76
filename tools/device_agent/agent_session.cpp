#include "tools/device_agent/agent_session.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace device_agent {
namespace {

bool SendAll(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

std::string Ok(std::string_view argument = {}) {
    return ComposeMessage(kOk, argument);
}

std::string Refusal(std::string_view what) {
    return ComposeMessage(kError, what);
}

std::string ExitReply(const std::optional<int>& status) {
    return Ok(status ? std::to_string(*status) : std::string());
}

}  // namespace

AgentSession::AgentSession(int socket, const PortLinks& links, SimulatorHome& home)
    : socket_(socket), links_(links), home_(home) {}

AgentSession::~AgentSession() {
    close(socket_);
}

bool AgentSession::ServeClient() {
    char buffer[4096];
    const ssize_t got = recv(socket_, buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) return true;
    if (got <= 0) return false;
    input_.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = input_.find('\n')) != std::string::npos;) {
        std::string request = input_.substr(0, end);
        input_.erase(0, end + 1);
        if (!request.empty() && request.back() == '\r') request.pop_back();
        if (!SendAll(socket_, Answer(request) + "\n")) return false;
    }
    return true;
}

std::string AgentSession::Answer(std::string_view request) {
    const Message message = ParseMessage(request);
    if (message.word == kDevice) return StartDevice(message.argument);
    if (message.word == kSimulate) return StartSimulator(message.argument);
    if (device_) return AnswerDevice(message);
    if (simulator_) return AnswerSimulator(message);
    return Refusal("no device yet: " + message.word);
}

std::string AgentSession::StartDevice(const std::string& comName) {
    if (device_ || simulator_) return Refusal("this connection has its device");
    device_ = std::make_unique<AgentDevice>(links_.PathOf(comName));
    const std::string error = device_->Plug();
    if (error.empty()) return Ok();
    device_.reset();
    return Refusal(error);
}

std::string AgentSession::StartSimulator(const std::string& hexArguments) {
    if (device_ || simulator_) return Refusal("this connection has its device");
    const std::optional<std::string> joined = FromHex(hexArguments);
    if (!joined) return Refusal("not hexadecimal");
    try {
        simulator_ = std::make_unique<AgentSimulator>(home_, SplitArguments(*joined));
    } catch (const std::exception& error) {
        return Refusal(error.what());
    }
    return Ok(simulator_->Describe());
}

std::string AgentSession::AnswerDevice(const Message& message) {
    if (message.word == kPlug) {
        const std::string error = device_->Plug();
        return error.empty() ? Ok() : Refusal(error);
    }
    if (message.word == kUnplug) {
        device_->Unplug();
        return Ok();
    }
    if (message.word == kSend) {
        const std::optional<std::string> bytes = FromHex(message.argument);
        if (!bytes) return Refusal("not hexadecimal");
        return device_->Queue(*bytes) ? Ok() : Refusal("unplugged");
    }
    if (message.word == kReceived) return ComposeMessage(kData, ToHex(device_->Received()));
    return Refusal("unknown request " + message.word);
}

std::string AgentSession::AnswerSimulator(const Message& message) {
    if (message.word == kWire) return ComposeMessage(kData, ToHex(simulator_->Wire()));
    if (message.word == kStop) return ExitReply(simulator_->Stop());
    if (message.word == kKill) return ExitReply(simulator_->Kill());
    if (message.word == kExit) return ExitReply(simulator_->ExitStatus());
    if (message.word == kLinked) return Ok(simulator_->Linked() ? "1" : "0");
    if (message.word == kUnlink) {
        simulator_->Unlink();
        return Ok();
    }
    if (message.word == kHold) {
        try {
            simulator_->HoldNumber();
        } catch (const std::exception& error) {
            return Refusal(error.what());
        }
        return Ok();
    }
    return Refusal("unknown request " + message.word);
}

}  // namespace device_agent
