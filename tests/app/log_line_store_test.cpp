#include "app/log_view/log_line_store.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

// Lines of these lengths, each filled with a byte of its own, come back as they went in: lines
// that fill a block to the byte, that just miss it, that are longer than a block, and empty ones.
struct StoreCase {
    const char* name;
    std::vector<std::size_t> lengths;
};

constexpr std::size_t kBlock = 256 * 1024;

const StoreCase kCases[] = {
    {"short lines", {1, 2, 3, 40, 0, 5}},
    {"a block filled exactly", {kBlock - 10, 10, 1}},
    {"a line that just misses the room left", {kBlock - 10, 11, 1}},
    {"a line longer than a block", {5, 3 * kBlock + 7, 5}},
    {"empty lines only", {0, 0, 0}},
    {"an empty line as the block fills", {kBlock, 0, 1}},
};

std::string LineOf(std::size_t index, std::size_t length) {
    return std::string(length, static_cast<char>(0x80 + index % 100));
}

class LogLineStoreTest : public ::testing::TestWithParam<StoreCase> {};

TEST_P(LogLineStoreTest, EveryLineComesBackAsItWasAppended) {
    const StoreCase& c = GetParam();
    LogLineStore store;
    // Twice, with a Clear between: a cleared store is as good as a new one.
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < c.lengths.size(); ++i) store.Append(LineOf(i, c.lengths[i]));
        ASSERT_EQ(store.Count(), c.lengths.size());
        for (std::size_t i = 0; i < c.lengths.size(); ++i) {
            EXPECT_EQ(store.At(i), LineOf(i, c.lengths[i])) << "line " << i;
        }
        store.Clear();
        EXPECT_EQ(store.Count(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LogLineStoreTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

TEST(LogLineStore, LinesStayInPlaceWhileMoreArrive) {
    LogLineStore store;
    store.Append("first");
    const std::string_view first = store.At(0);
    for (int i = 0; i < 100'000; ++i) store.Append("later line " + std::to_string(i));
    EXPECT_EQ(first.data(), store.At(0).data());
    EXPECT_EQ(store.At(0), "first");
    EXPECT_EQ(store.At(100'000), "later line 99999");
}

}  // namespace
