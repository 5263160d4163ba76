// The flood both readers get: the simulator answers one command with numbered lines as fast as the
// pseudo-terminal takes them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct FloodShape {
    std::size_t lines = 200'000;
    std::size_t length = 38;  // with CR LF, 40 bytes a line on the wire

    std::size_t WireBytes() const { return lines * (length + 2); }
    std::vector<std::string> SimulatorOptions() const {
        return {"--flood", std::to_string(lines), "--flood-length", std::to_string(length)};
    }
    // Line `number` (from 1) without its line end: the number, filled up with dots.
    std::string Line(std::size_t number) const {
        std::string line = std::to_string(number);
        if (line.size() < length) line.append(length - line.size(), '.');
        return line;
    }
    std::string Wire() const {
        std::string wire;
        wire.reserve(WireBytes());
        for (std::size_t k = 1; k <= lines; ++k) wire += Line(k) + "\r\n";
        return wire;
    }
};
