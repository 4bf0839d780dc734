#include "platform/macos/mac_random.h"

#include <stdlib.h>

namespace tessary::macos {

uint64_t MacRandom::uniformInteger(uint64_t maxInclusive) {
  return uniformIntegerFromDraws(
      [] {
        uint64_t value = 0;
        arc4random_buf(&value, sizeof value);
        return value;
      },
      maxInclusive);
}

}  // namespace tessary::macos
