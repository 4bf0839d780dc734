// Number formats of the diagnostic lines.
#pragma once

#include <string>

#include "common/geometry.h"

namespace tessary {

// Shortest decimal text that reads back to the same value, always with a
// fractional part: 25 -> "25.0", 0.5 -> "0.5".
std::string formatLogDouble(double value);
// "(x, y, width, height)", e.g. "(0.0, 25.0, 800.0, 600.0)".
std::string formatBoundsTuple(const Rect& bounds);
// printf-style fixed decimals, e.g. formatFixed(0.654, 2) -> "0.65".
std::string formatFixed(double value, int decimals);

}  // namespace tessary
