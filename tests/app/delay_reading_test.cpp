#include "app/widgets/delay_reading.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

struct ReadingCase {
    std::string text;
    int32_t value;
    bool wasInteger;
};

class DelayReadingTest : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(DelayReadingTest, ReadsTextAsInteger) {
    const ReadingCase& c = GetParam();
    const DelayReading reading = ReadDelayText(c.text);
    EXPECT_EQ(reading.wasInteger, c.wasInteger) << '"' << c.text << '"';
    EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
}

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Decimal, DelayReadingTest,
    ::testing::Values(ReadingCase{"0", 0, true}, ReadingCase{"50", 50, true},
                      ReadingCase{" 12", 12, true}, ReadingCase{"   7000", 7000, true},
                      ReadingCase{"+7", 7, true}, ReadingCase{"-5", -5, true},
                      ReadingCase{"-0", 0, true}, ReadingCase{"00012", 12, true},
                      ReadingCase{"2147483647", kMax, true}, ReadingCase{"-2147483648", kMin, true},
                      ReadingCase{"000000000002147483647", kMax, true}));

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, DelayReadingTest,
    ::testing::Values(ReadingCase{"$1F", 31, true}, ReadingCase{"$1f", 31, true},
                      ReadingCase{"0x1f", 31, true}, ReadingCase{"0X1F", 31, true},
                      ReadingCase{"-$10", -16, true}, ReadingCase{"+0x10", 16, true},
                      ReadingCase{" $A", 10, true}, ReadingCase{"$7FFFFFFF", kMax, true},
                      ReadingCase{"-$80000000", kMin, true}, ReadingCase{"0x0", 0, true}));

INSTANTIATE_TEST_SUITE_P(
    NotIntegers, DelayReadingTest,
    ::testing::Values(
        ReadingCase{"", 0, false}, ReadingCase{" ", 0, false}, ReadingCase{"12a", 0, false},
        ReadingCase{"1.5", 0, false}, ReadingCase{"12 ", 0, false}, ReadingCase{"- 5", 0, false},
        ReadingCase{"+-5", 0, false}, ReadingCase{"+", 0, false}, ReadingCase{"-", 0, false},
        ReadingCase{"\t5", 0, false}, ReadingCase{"2147483648", 0, false},
        ReadingCase{"-2147483649", 0, false}, ReadingCase{"99999999999999999999999", 0, false},
        ReadingCase{"0x", 0, false}, ReadingCase{"$", 0, false}, ReadingCase{"-$", 0, false},
        ReadingCase{"$80000000", 0, false}, ReadingCase{"$FFFFFFFF", 0, false},
        ReadingCase{"-$80000001", 0, false}, ReadingCase{"$g", 0, false},
        ReadingCase{"x10", 0, false}, ReadingCase{"0x0x1", 0, false}, ReadingCase{"$-5", 0, false},
        ReadingCase{"12abc", 0, false}, ReadingCase{"1e3", 0, false}));

}  // namespace
