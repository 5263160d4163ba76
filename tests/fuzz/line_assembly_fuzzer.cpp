// Feeds arbitrary sequences of reads through the line assembler and compares the lines it
// delivers with the stream model.
//
// Input: one byte N (0: never), after which every Nth delivery's callback throws; one byte M
// (0: never), after which every Mth read is handed over without a callback; then the reads, each
// a count byte followed by that many bytes (the last read takes what is left).
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "serial/line_assembler.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/line_assembly_model.h"

namespace {

using qdax_fuzz::Check;

struct Script {
    std::size_t throwPeriod = 0;
    std::size_t silencePeriod = 0;
    std::vector<std::string> reads;
};

Script Decode(const std::uint8_t* data, std::size_t size) {
    Script script;
    std::size_t at = 0;
    if (at < size) script.throwPeriod = data[at++];
    if (at < size) script.silencePeriod = data[at++];
    while (at < size) {
        std::size_t count = data[at++];
        if (count > size - at) count = size - at;
        script.reads.emplace_back(reinterpret_cast<const char*>(data + at), count);
        at += count;
    }
    return script;
}

bool IsSilenced(const Script& script, std::size_t read) {
    return script.silencePeriod != 0 && read % script.silencePeriod == script.silencePeriod - 1;
}

struct DeliveryFailure {
    std::size_t delivery;
};

struct Delivered {
    std::size_t read;
    std::string text;
    bool operator==(const Delivered&) const = default;
};

// The bytes that end up in lines: those before the first NUL of each read, less the line ends.
std::string LineBytes(const std::vector<std::string>& reads) {
    std::string bytes;
    for (const std::string& read : reads) {
        for (const char c : read) {
            if (c == '\0') break;
            if (c != '\r' && c != '\n') bytes.push_back(c);
        }
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Script script = Decode(data, size);
    LineAssembler assembler;
    std::vector<Delivered> delivered;
    std::size_t deliveries = 0;

    for (std::size_t r = 0; r < script.reads.size(); ++r) {
        const std::string& bytes = script.reads[r];
        std::optional<std::size_t> firstFailure;
        const LineReceivedCallback collect = [&](const char* line) {
            const std::size_t length = std::strlen(line);
            Check(length <= static_cast<std::size_t>(LineAssembler::kMaxLineLength),
                  "no line is longer than the line buffer");
            Check(std::string_view(line, length).find_first_of("\r\n") == std::string_view::npos,
                  "no line holds a line end");
            delivered.push_back({r, std::string(line, length)});
            ++deliveries;
            if (script.throwPeriod != 0 && deliveries % script.throwPeriod == 0) {
                if (!firstFailure) firstFailure = deliveries;
                throw DeliveryFailure{deliveries};
            }
        };

        std::uint8_t buffer[LineAssembler::kReadSize] = {};
        std::memcpy(buffer, bytes.data(), bytes.size());
        try {
            assembler.Assemble(buffer, static_cast<std::uint32_t>(bytes.size()),
                               IsSilenced(script, r) ? LineReceivedCallback() : collect);
            Check(!firstFailure, "a failing callback is reported to the caller");
        } catch (const DeliveryFailure& failure) {
            Check(firstFailure && failure.delivery == *firstFailure,
                  "the first failure of a read is the one raised");
        }
        Check(assembler.Idle() == bytes.empty(), "idle exactly after an empty read");
    }

    const qdax_fuzz::ModelOutcome model = qdax_fuzz::ExpectedLines(
        script.reads, static_cast<std::size_t>(LineAssembler::kMaxLineLength));
    std::vector<Delivered> expected;
    for (const qdax_fuzz::ModelLine& line : model.lines) {
        if (!IsSilenced(script, line.read)) expected.push_back({line.read, line.text});
    }
    Check(delivered == expected, "the lines delivered are those of the stream, in order");
    Check(static_cast<std::size_t>(assembler.PendingLength()) == model.pendingLength,
          "the pending line is the stream's unfinished tail");

    if (script.silencePeriod == 0) {
        // Every byte that is not a line end lies in exactly one delivered line or in the pending
        // tail, in the order received.
        std::string joined;
        for (const Delivered& line : delivered) joined += line.text;
        const std::string bytes = LineBytes(script.reads);
        const auto pending = static_cast<std::size_t>(assembler.PendingLength());
        Check(
            joined.size() + pending == bytes.size() && bytes.compare(0, joined.size(), joined) == 0,
            "every byte is delivered once, in order");
    }
    return 0;
}
