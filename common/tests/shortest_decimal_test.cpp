// Shortest round-trip digits. Built twice: against the library (std::to_chars)
// and with the printf search that macOS uses, so both paths are held to the
// same results.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "common/shortest_decimal.h"

namespace tessary {
namespace {

struct DigitsCase {
  double value;
  bool negative;
  std::string digits;
  int exponent;
};

TEST(ShortestDecimal, Table) {
  const DigitsCase cases[] = {
      {0.0, false, "0", 0},
      {-0.0, true, "0", 0},
      {25.0, false, "25", 1},
      {0.5, false, "5", -1},
      {100.0, false, "1", 2},
      {0.1, false, "1", -1},
      {0.3, false, "3", -1},
      {0.1 + 0.2, false, "30000000000000004", -1},
      {-123.456, true, "123456", 2},
      {1e23, false, "1", 23},
      {5e-324, false, "5", -324},
      {std::numeric_limits<double>::max(), false, "17976931348623157", 308},
      {std::numeric_limits<double>::min(), false, "22250738585072014", -308},
      {9007199254740993.0, false, "9007199254740992", 15},
  };
  for (const auto& c : cases) {
    const ShortestDecimal d = shortestDecimal(c.value);
    EXPECT_EQ(d.negative, c.negative) << c.value;
    EXPECT_EQ(d.digits, c.digits) << c.value;
    EXPECT_EQ(d.exponent, c.exponent) << c.value;
  }
}

double fromDigits(const ShortestDecimal& d) {
  std::string text = d.negative ? "-" : "";
  text += d.digits[0];
  text += '.';
  text += d.digits.substr(1);
  text += "e" + std::to_string(d.exponent);
  return std::strtod(text.c_str(), nullptr);
}

TEST(ShortestDecimal, RoundTripsWithNoSpareDigits) {
  uint64_t state = 0x2545F4914F6CDD1DULL;
  for (int i = 0; i < 20000; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    double value;
    std::memcpy(&value, &state, sizeof value);
    if (!std::isfinite(value)) continue;
    const ShortestDecimal d = shortestDecimal(value);
    ASSERT_EQ(fromDigits(d), value) << d.digits << "e" << d.exponent;
    if (d.digits.size() > 1) {
      ASSERT_NE(d.digits.back(), '0') << d.digits;
      // One digit fewer, correctly rounded, no longer reads back.
      char shorter[40];
      std::snprintf(shorter, sizeof shorter, "%.*e", static_cast<int>(d.digits.size()) - 2, value);
      EXPECT_NE(std::strtod(shorter, nullptr), value) << shorter;
    }
  }
}

}  // namespace
}  // namespace tessary
