// Strict decimal parsing of environment values and arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/numbers.h"

namespace tessary {
namespace {

template <typename T>
struct ParseCase {
  std::string text;
  std::optional<T> expected;
};

template <typename T>
std::string describe(const ParseCase<T>& c) {
  return "\"" + c.text + "\"";
}

const ParseCase<int32_t> kInt32Cases[] = {
    {"0", 0},
    {"123", 123},
    {"+5", 5},
    {"-5", -5},
    {"-0", 0},
    {"+0", 0},
    {"007", 7},
    {"2147483647", 2147483647},
    {"-2147483648", std::numeric_limits<int32_t>::min()},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999999", std::nullopt},
    {"", std::nullopt},
    {"+", std::nullopt},
    {"-", std::nullopt},
    {"+-1", std::nullopt},
    {"--1", std::nullopt},
    {" 1", std::nullopt},
    {"1 ", std::nullopt},
    {"1\n", std::nullopt},
    {"0x1", std::nullopt},
    {"1e3", std::nullopt},
    {"1.0", std::nullopt},
    {"1,000", std::nullopt},
    {"12a", std::nullopt},
    {"abc", std::nullopt},
    {"\xd9\xa1", std::nullopt},      // ARABIC-INDIC DIGIT ONE
    {"\xef\xbc\x91", std::nullopt},  // FULLWIDTH DIGIT ONE
    {std::string("1\0", 2), std::nullopt},
};

TEST(ParseInt32, Table) {
  for (const auto& c : kInt32Cases)
    EXPECT_EQ(parseInt32(c.text), c.expected) << describe(c);
}

const ParseCase<int64_t> kInt64Cases[] = {
    {"9223372036854775807", std::numeric_limits<int64_t>::max()},
    {"-9223372036854775808", std::numeric_limits<int64_t>::min()},
    {"+9223372036854775807", std::numeric_limits<int64_t>::max()},
    {"9223372036854775808", std::nullopt},
    {"-9223372036854775809", std::nullopt},
    // Digits past the point where 10 * value wraps in 64 bits.
    {"18446744073709551616", std::nullopt},
    {"184467440737095516150", std::nullopt},
    {"2147483648", 2147483648LL},
    {"-42", -42},
    {"", std::nullopt},
    {" 42", std::nullopt},
    {"4 2", std::nullopt},
};

TEST(ParseInt64, Table) {
  for (const auto& c : kInt64Cases)
    EXPECT_EQ(parseInt64(c.text), c.expected) << describe(c);
}

const ParseCase<uint32_t> kUInt32Cases[] = {
    {"0", 0u},
    {"4294967295", 4294967295u},
    {"+4294967295", 4294967295u},
    {"4294967296", std::nullopt},
    {"-0", 0u},
    {"-1", std::nullopt},
    {"-4294967296", std::nullopt},
    {"", std::nullopt},
    {"12 ", std::nullopt},
    {"0x10", std::nullopt},
};

TEST(ParseUInt32, Table) {
  for (const auto& c : kUInt32Cases)
    EXPECT_EQ(parseUInt32(c.text), c.expected) << describe(c);
}

const ParseCase<double> kDoubleCases[] = {
    {"12", 12.0},
    {"-3.5", -3.5},
    {"+2.25", 2.25},
    {"1e3", 1000.0},
    {".5", 0.5},
    {"5.", 5.0},
    {"0x1p3", 8.0},
    {"", std::nullopt},
    {" 1", std::nullopt},
    {"\t1", std::nullopt},
    {"1 ", std::nullopt},
    {"1.5x", std::nullopt},
    {"1,5", std::nullopt},
    {"e3", std::nullopt},
    {"abc", std::nullopt},
    {std::string("1\0"
                 "5",
                 3),
     std::nullopt},
};

TEST(ParseDouble, Table) {
  for (const auto& c : kDoubleCases)
    EXPECT_EQ(parseDouble(c.text), c.expected) << describe(c);
}

TEST(ParseDouble, NonFiniteFormsReadAsStrtodReadsThem) {
  // The caller decides whether such values are usable (a scope rectangle
  // rejects them); the reader itself accepts what strtod accepts.
  ASSERT_TRUE(parseDouble("inf"));
  EXPECT_TRUE(std::isinf(*parseDouble("inf")));
  EXPECT_TRUE(std::isinf(*parseDouble("-infinity")));
  EXPECT_TRUE(std::isnan(*parseDouble("nan")));
  EXPECT_TRUE(std::isinf(*parseDouble("1e999")));
}

}  // namespace
}  // namespace tessary
