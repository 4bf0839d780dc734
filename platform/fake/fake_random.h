// The simulated random number generator: a fixed sequence from a seed, so a
// run repeats.
#pragma once

#include <cstdint>

#include "platform/fake/fake_desktop.h"
#include "platform/random_source.h"

namespace tessary::fake {

class FakeRandom : public RandomSource {
 public:
  explicit FakeRandom(FakeDesktop::State& state) : state_(state) {}
  uint64_t uniformInteger(uint64_t maxInclusive) override;

  uint64_t seed = 1;

 private:
  uint64_t next();
  FakeDesktop::State& state_;
};

}  // namespace tessary::fake
