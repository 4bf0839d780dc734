#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>

#include "platform/fake/fake_state.h"
#include "platform/fake/value_text.h"

namespace tessary::fake {

// Virtual time moves only when the logic waits (or a call times out), so a
// run takes no real time and every run sees the same clock.

namespace {
// A scene with "realTime" also lets its waits pass on the wall clock, so a
// program run by hand paces itself as it would on a Mac; scripted events due
// inside a wait then come at their moment. Unanswered calls still time out in
// virtual time only.
void sleepInRealTime(double seconds) {
  constexpr double kLongestWait = 86400;
  if (!(seconds > 0)) return;
  std::this_thread::sleep_for(std::chrono::duration<double>(std::min(seconds, kLongestWait)));
}

void passTime(State& state, double seconds) {
  if (!state.realTime) {
    state.advance(seconds);
    return;
  }
  const double target = state.elapsed + seconds;
  while (std::optional<double> due = state.speechRecognizer.nextEventTime(target)) {
    const double step = std::max(0.0, *due - state.elapsed);
    sleepInRealTime(step);
    state.advance(step);
  }
  sleepInRealTime(target - state.elapsed);
  state.advance(std::max(0.0, target - state.elapsed));
}
}  // namespace

double FakeClock::now() {
  state_.recorder.record("now");
  return kVirtualStartTime + state_.elapsed;
}

void FakeClock::sleepMicroseconds(uint64_t microseconds) {
  state_.recorder.record("sleepMicroseconds", "", [&] { return std::to_string(microseconds); });
  passTime(state_, static_cast<double>(microseconds) / 1e6);
}

// The run loop has nothing to deliver that the logic could see (observer
// callbacks do nothing), so it always runs for the whole time asked.
void FakeClock::runRunLoop(double seconds) {
  state_.recorder.record("runRunLoop", "", [&] { return numberText(seconds); });
  if (!std::isfinite(seconds) || seconds <= 0) return;
  passTime(state_, seconds);
}

}  // namespace tessary::fake
