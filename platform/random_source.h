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

}  // namespace tessary
