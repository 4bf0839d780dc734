// Number formats of the diagnostic lines and of printed numbers.
#pragma once

#include <string>

#include "common/geometry.h"

namespace tessary {

// Shortest decimal text that reads back to the same value, always with a
// fractional part: 25 -> "25.0", 0.5 -> "0.5". Magnitudes below 1e-4 or above
// 2^54 take the exponent form "1e-05", "1.5e+20".
std::string formatLogDouble(double value);
// Shortest text that reads back to the same value, as JSON numbers are
// written: 25 -> "25", 0.5 -> "0.5", 1e21 -> "1e+21", 1.5e-7 -> "1.5e-7";
// "nan", "inf" and "-inf" for the values JSON cannot hold.
std::string formatShortestDouble(double value);
// "(x, y, width, height)", e.g. "(0.0, 25.0, 800.0, 600.0)".
std::string formatBoundsTuple(const Rect& bounds);
// printf-style fixed decimals, e.g. formatFixed(0.654, 2) -> "0.65".
std::string formatFixed(double value, int decimals);

}  // namespace tessary
