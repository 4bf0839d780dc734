#include <cmath>
#include <string>

#include "platform/fake/fake_state.h"
#include "platform/fake/value_text.h"

namespace tessary::fake {

// Virtual time moves only when the logic waits (or a call times out), so a
// run takes no real time and every run sees the same clock.

double FakeClock::now() {
  state_.recorder.record("now");
  return kVirtualStartTime + state_.elapsed;
}

void FakeClock::sleepMicroseconds(uint64_t microseconds) {
  state_.recorder.record("sleepMicroseconds", "", [&] { return std::to_string(microseconds); });
  state_.advance(static_cast<double>(microseconds) / 1e6);
}

// The run loop has nothing to deliver that the logic could see (observer
// callbacks do nothing), so it always runs for the whole time asked.
void FakeClock::runRunLoop(double seconds) {
  state_.recorder.record("runRunLoop", "", [&] { return numberText(seconds); });
  if (std::isfinite(seconds) && seconds > 0) state_.advance(seconds);
}

}  // namespace tessary::fake
