// Bytes on a Telnet wire, written out in tests as numbers.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

namespace qdax_test {

inline constexpr int kIac = 0xFF, kSb = 0xFA, kSe = 0xF0, kNop = 0xF1, kGa = 0xF9, kDm = 0xF2;
inline constexpr int kWill = 0xFB, kWont = 0xFC, kDo = 0xFD, kDont = 0xFE, kComPort = 44;

inline std::string Bytes(std::initializer_list<int> bytes) {
    std::string text;
    for (const int byte : bytes) text += static_cast<char>(byte);
    return text;
}

inline std::span<const std::uint8_t> View(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

inline std::string Text(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

}  // namespace qdax_test
