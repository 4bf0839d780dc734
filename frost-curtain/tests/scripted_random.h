// A random source that hands out fixed fractions of its range, so tests can
// put every draw at either end of its interval.
#pragma once

#include <cmath>
#include <vector>

#include "platform/random_source.h"

namespace tessary::curtain {

class ScriptedRandom : public RandomSource {
 public:
  // Each draw takes the next fraction (0 = lowest, 1 = highest), cycling.
  explicit ScriptedRandom(std::vector<double> fractions) : fractions_(std::move(fractions)) {}
  uint64_t uniformInteger(uint64_t maxInclusive) override {
    const double fraction = fractions_[next_++ % fractions_.size()];
    ++draws;
    return static_cast<uint64_t>(std::llround(fraction * static_cast<double>(maxInclusive)));
  }
  int draws = 0;

 private:
  std::vector<double> fractions_;
  size_t next_ = 0;
};

}  // namespace tessary::curtain
