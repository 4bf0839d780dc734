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
  return uniformIntegerFromDraws([this] { return next(); }, maxInclusive);
}

}  // namespace tessary::fake
