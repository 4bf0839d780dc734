// The shortest decimal digits that read back to a given double; the log and
// JSON writers lay them out in their own forms.
#pragma once

#include <string>

namespace tessary {

// value = ±d1.d2d3... × 10^exponent. `digits` has no leading or trailing
// zeros, except "0" for zero.
struct ShortestDecimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// `value` must be finite.
ShortestDecimal shortestDecimal(double value);

}  // namespace tessary
