// The system random number generator (arc4random).
#pragma once

#include "platform/random_source.h"

namespace tessary::macos {

class MacRandom : public RandomSource {
 public:
  uint64_t uniformInteger(uint64_t maxInclusive) override;
};

}  // namespace tessary::macos
