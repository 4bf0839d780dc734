#include "platform/fake/fake_random.h"

#include <string>

#include "platform/fake/fake_state.h"

namespace tessary::fake {

// splitmix64: small, and every seed gives a good sequence.
uint64_t FakeRandom::next() {
  uint64_t z = (seed += 0x9e3779b97f4a7c15);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
  z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
  return z ^ (z >> 31);
}

uint64_t FakeRandom::uniformInteger(uint64_t maxInclusive) {
  state_.recorder.record("uniformInteger", "", [&] { return std::to_string(maxInclusive); });
  if (maxInclusive == UINT64_MAX) return next();
  const uint64_t range = maxInclusive + 1;
  // Rejection keeps every value equally likely.
  const uint64_t limit = UINT64_MAX - UINT64_MAX % range;
  uint64_t value;
  do {
    value = next();
  } while (value >= limit);
  return value % range;
}

}  // namespace tessary::fake
