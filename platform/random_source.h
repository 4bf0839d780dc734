// The system random number generator, behind an interface so tests can
// drive what it draws.
#pragma once

#include <cstdint>

namespace tessary {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A whole number drawn uniformly from [0, maxInclusive].
  virtual uint64_t uniformInteger(uint64_t maxInclusive) = 0;
};

// [0, maxInclusive] from uniform 64-bit draws; rejection keeps every value
// equally likely.
template <typename Draw64>
uint64_t uniformIntegerFromDraws(Draw64&& draw, uint64_t maxInclusive) {
  if (maxInclusive == UINT64_MAX) return draw();
  const uint64_t range = maxInclusive + 1;
  const uint64_t limit = UINT64_MAX - UINT64_MAX % range;  // a multiple of range
  uint64_t value;
  do {
    value = draw();
  } while (value >= limit);
  return value % range;
}

}  // namespace tessary
