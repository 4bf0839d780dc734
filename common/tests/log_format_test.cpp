// Number formats of the diagnostic lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "common/log_format.h"

namespace tessary {
namespace {

TEST(FormatLogDouble, Table) {
  const std::pair<double, std::string> cases[] = {
      {25.0, "25.0"},
      {0.5, "0.5"},
      {0.0, "0.0"},
      {-0.0, "-0.0"},
      {-12.25, "-12.25"},
      {800.0, "800.0"},
      {1512.0, "1512.0"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.30000000000000004"},
      {1.0 / 3.0, "0.3333333333333333"},
      {123456.789, "123456.789"},
      {0.001, "0.001"},
      {0.0001, "0.0001"},
      {0.00001, "1e-05"},
      {1.5e-7, "1.5e-07"},
      {9007199254740992.0, "9007199254740992.0"},
      {1e16, "10000000000000000.0"},
      {3e16, "3e+16"},
      {1e20, "1e+20"},
      {-2.5e100, "-2.5e+100"},
      {5e-324, "5e-324"},
      {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(formatLogDouble(value), expected);
}

TEST(FormatLogDouble, ReadsBackToTheSameValue) {
  // Values spread over the whole exponent range, with many digits.
  uint64_t state = 0x9E3779B97F4A7C15ULL;
  for (int i = 0; i < 20000; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    double value;
    static_assert(sizeof value == sizeof state);
    std::memcpy(&value, &state, sizeof value);
    if (!std::isfinite(value)) continue;
    const std::string text = formatLogDouble(value);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
    if (text.find('e') == std::string::npos) {
      EXPECT_NE(text.find('.'), std::string::npos) << text;
    }
  }
}

TEST(FormatShortestDouble, NumberTextWithoutForcedFraction) {
  const std::pair<double, std::string> cases[] = {
      {25.0, "25"},
      {-3.0, "-3"},
      {0.5, "0.5"},
      {123456789012345680000.0, "123456789012345680000"},
      {1e21, "1e+21"},
      {2.5e-7, "2.5e-7"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
  };
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(formatShortestDouble(value), expected);
}

TEST(FormatBoundsTuple, FourValuesInParentheses) {
  EXPECT_EQ(formatBoundsTuple({0, 25, 800, 600}), "(0.0, 25.0, 800.0, 600.0)");
  EXPECT_EQ(formatBoundsTuple({-12.5, 0.25, 1e20, 1}), "(-12.5, 0.25, 1e+20, 1.0)");
}

TEST(FormatFixed, PrintfDecimals) {
  EXPECT_EQ(formatFixed(0.654, 2), "0.65");
  EXPECT_EQ(formatFixed(1.005, 2), "1.00");  // 1.005 is stored just below
  EXPECT_EQ(formatFixed(2.5, 0), "2");
  EXPECT_EQ(formatFixed(3.5, 0), "4");
  EXPECT_EQ(formatFixed(-0.001, 2), "-0.00");
  EXPECT_EQ(formatFixed(12.0, 2), "12.00");
  EXPECT_EQ(formatFixed(1e300, 2).size(), 304u);
}

}  // namespace
}  // namespace tessary
