#include "serial/line_assembler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// One read as the reader hands it over: its bytes (NUL after them) and its count.
struct Read {
    Read(std::string bytes) : bytes(std::move(bytes)) {}  // NOLINT: reads are written as texts
    Read(std::string bytes, std::uint32_t count) : bytes(std::move(bytes)), count(count) {}
    std::string bytes;
    std::optional<std::uint32_t> count;  // the byte count when it differs from bytes.size()
};

struct Delivery {
    std::vector<std::string> lines;
    std::int32_t pending;
};

Delivery AssembleAll(const std::vector<Read>& reads) {
    LineAssembler assembler;
    Delivery delivery{{}, 0};
    const LineReceivedCallback collect = [&](const char* line) {
        delivery.lines.emplace_back(line);
    };
    for (const Read& read : reads) {
        std::uint8_t buffer[LineAssembler::kReadSize] = {};
        std::memcpy(buffer, read.bytes.data(), std::min(read.bytes.size(), sizeof buffer));
        assembler.Assemble(
            buffer, read.count.value_or(static_cast<std::uint32_t>(read.bytes.size())), collect);
    }
    delivery.pending = assembler.PendingLength();
    return delivery;
}

struct AssemblyCase {
    const char* name;
    std::vector<Read> reads;
    std::vector<std::string> lines;
    std::int32_t pending;
};

class LineAssembly : public testing::TestWithParam<AssemblyCase> {};

TEST_P(LineAssembly, DeliversTheExpectedLines) {
    const AssemblyCase& c = GetParam();
    const Delivery delivery = AssembleAll(c.reads);
    EXPECT_EQ(delivery.lines, c.lines);
    EXPECT_EQ(delivery.pending, c.pending);
}

const std::string k255(255, 'x');

INSTANTIATE_TEST_SUITE_P(
    Reads, LineAssembly,
    testing::Values(
        AssemblyCase{"CrLfGivesTheLineAndAnEmptyLine", {{"PQ\r\nRS"}}, {"PQ", ""}, 2},
        AssemblyCase{
            "PendingPartContinuesInTheNextRead", {{"PQ\r\nRS"}, {"T\n"}}, {"PQ", "", "RST"}, 0},
        AssemblyCase{"OneEmptyReadDeliversNothing", {{"PQ\r\nRS"}, {""}}, {"PQ", ""}, 2},
        AssemblyCase{"SecondEmptyReadDeliversThePartialLine",
                     {{"PQ\r\nRS"}, {""}, {""}},
                     {"PQ", "", "RS"},
                     0},
        AssemblyCase{"ThirdEmptyReadDeliversNothingMore",
                     {{"PQ\r\nRS"}, {""}, {""}, {""}},
                     {"PQ", "", "RS"},
                     0},
        AssemblyCase{"DataBetweenEmptyReadsContinuesTheLine", {{"AB"}, {""}, {"CD"}, {""}}, {}, 4},
        AssemblyCase{"EmptyReadsWithNothingPendingDeliverNothing", {{""}, {""}, {""}}, {}, 0},
        AssemblyCase{"LeadingNulDeliversNothing", {{std::string("\0AB\r", 4), 4}}, {}, 0},
        AssemblyCase{
            "BytesAfterANulAreDropped", {{std::string("AB\0CD\r", 6), 6}, {"\r"}}, {"AB"}, 0},
        AssemblyCase{"LoneCrAndLoneLfEachEndALine", {{"A\rB\nC\r"}}, {"A", "B", "C"}, 0},
        AssemblyCase{"TwoAnswersInOneRead", {{"X\rY\r"}}, {"X", "Y"}, 0},
        AssemblyCase{"FullReadWithoutLineEndIsKept", {{k255}}, {}, 255},
        AssemblyCase{"LineSpanningFullReads", {{k255}, {k255}, {"\r"}}, {std::string(510, 'x')}, 0},
        AssemblyCase{"CountBoundsTheBytesUsed", {{"ABCD", 2}, {"\r"}}, {"AB"}, 0}),
    [](const testing::TestParamInfo<AssemblyCase>& info) { return info.param.name; });

TEST(LineAssembly, LineOfExactlyTheLimitIsDeliveredWhole) {
    std::vector<Read> reads;
    std::string sent;
    while (sent.size() < LineAssembler::kMaxLineLength) {
        const std::size_t n =
            std::min<std::size_t>(255, LineAssembler::kMaxLineLength - sent.size());
        reads.push_back({std::string(n, 'a' + static_cast<char>(reads.size() % 26))});
        sent += reads.back().bytes;
    }
    reads.push_back({"\r"});
    const Delivery delivery = AssembleAll(reads);
    ASSERT_EQ(delivery.lines.size(), 1u);
    EXPECT_EQ(delivery.lines[0], sent);
}

TEST(LineAssembly, LongerLineGoesOutInFullPiecesWithoutLosingABytes) {
    std::string sent;
    std::vector<Read> reads;
    for (int i = 0; sent.size() < 5000; ++i) {
        std::string chunk;
        for (int k = 0; k < 200; ++k) chunk += static_cast<char>('A' + (i + k) % 26);
        reads.push_back({chunk});
        sent += chunk;
    }
    reads.push_back({"\n"});
    const Delivery delivery = AssembleAll(reads);
    ASSERT_EQ(delivery.lines.size(), 3u);  // 2048 + 2048 + the rest
    EXPECT_EQ(delivery.lines[0].size(), 2048u);
    EXPECT_EQ(delivery.lines[1].size(), 2048u);
    EXPECT_EQ(delivery.lines[0] + delivery.lines[1] + delivery.lines[2], sent);
}

TEST(LineAssembly, EveryByteValueButLineEndsAndNulPassesUnchanged) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') all += static_cast<char>(b);
    const Delivery delivery = AssembleAll({{all.substr(0, 200)}, {all.substr(200) + "\r"}});
    ASSERT_EQ(delivery.lines.size(), 1u);
    EXPECT_EQ(delivery.lines[0], all);
}

TEST(LineAssembly, FailingCallbackCostsNoLaterLineAndIsRaisedAfterTheRead) {
    LineAssembler assembler;
    std::vector<std::string> seen;
    const LineReceivedCallback failOnB = [&](const char* line) {
        seen.emplace_back(line);
        if (std::string(line) == "B") throw std::runtime_error("callback failed");
    };
    std::uint8_t buffer[LineAssembler::kReadSize] = {};
    std::memcpy(buffer, "A\rB\rC\rD", 7);
    EXPECT_THROW(assembler.Assemble(buffer, 7, failOnB), std::runtime_error);
    EXPECT_EQ(seen, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(assembler.PendingLength(), 1);
}

TEST(LineAssembly, WithoutCallbackLinesAreStillEnded) {
    LineAssembler assembler;
    std::uint8_t buffer[LineAssembler::kReadSize] = {};
    std::memcpy(buffer, "ABC\rDE", 6);
    assembler.Assemble(buffer, 6, nullptr);
    EXPECT_EQ(assembler.PendingLength(), 2);
}

}  // namespace
