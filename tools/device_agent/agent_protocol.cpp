#include "tools/device_agent/agent_protocol.h"

namespace device_agent {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

int DigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

}  // namespace

std::string ToHex(std::string_view bytes) {
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += kDigits[value >> 4];
        hex += kDigits[value & 0x0F];
    }
    return hex;
}

std::optional<std::string> FromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = DigitValue(hex[i]);
        const int low = DigitValue(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high << 4 | low);
    }
    return bytes;
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string joined;
    for (const std::string& argument : arguments) {
        joined += argument;
        joined += '\0';
    }
    return joined;
}

std::vector<std::string> SplitArguments(std::string_view joined) {
    std::vector<std::string> arguments;
    for (std::size_t end; (end = joined.find('\0')) != std::string_view::npos;) {
        arguments.emplace_back(joined.substr(0, end));
        joined.remove_prefix(end + 1);
    }
    return arguments;
}

Message ParseMessage(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return {std::string(line), {}};
    return {std::string(line.substr(0, space)), std::string(line.substr(space + 1))};
}

std::string ComposeMessage(std::string_view word, std::string_view argument) {
    std::string line(word);
    if (!argument.empty()) {
        line += ' ';
        line += argument;
    }
    return line;
}

}  // namespace device_agent
