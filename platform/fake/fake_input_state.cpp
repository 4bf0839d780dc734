#include "platform/fake/fake_input_state.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/fake/fake_state.h"
#include "platform/fake/value_text.h"

namespace tessary::fake {

namespace {
// Timer firings are computed as multiples of the interval; an entry at
// 0.06 s must hold for the firing at 3 x 0.02 s whatever the rounding.
constexpr double kTimeSlack = 1e-9;
const InputSnapshot kNothingHeld;
}  // namespace

const InputSnapshot& FakeInputState::now(int32_t stateId) const {
  const auto& entries = state_.inputTimeline.entries;
  if (stateId != kHIDSystemStateId) return kNothingHeld;
  auto after = std::upper_bound(entries.begin(), entries.end(), state_.elapsed + kTimeSlack,
                                [](double time, const auto& entry) { return time < entry.first; });
  return after == entries.begin() ? kNothingHeld : std::prev(after)->second;
}

uint64_t FakeInputState::flagsState(int32_t stateId) {
  state_.recorder.record("flagsState", "", [&] { return std::to_string(stateId); });
  return now(stateId).flags;
}

bool FakeInputState::keyState(int32_t stateId, uint16_t keyCode) {
  state_.recorder.record("keyState", "",
                         [&] { return std::to_string(stateId) + " " + std::to_string(keyCode); });
  return now(stateId).keysDown.contains(keyCode);
}

bool FakeInputState::buttonState(int32_t stateId, uint32_t button) {
  state_.recorder.record("buttonState", "",
                         [&] { return std::to_string(stateId) + " " + std::to_string(button); });
  return now(stateId).buttonsDown.contains(button);
}

// An event without a source reads the hardware's pointer, whatever state id
// the key queries use.
std::optional<Point> FakeInputState::pointerLocation() {
  const InputSnapshot& snapshot = now(kHIDSystemStateId);
  state_.recorder.record("pointerLocation", "",
                         std::string_view(snapshot.eventFails ? "no event" : ""));
  if (snapshot.eventFails) return std::nullopt;
  if (snapshot.pointer) return snapshot.pointer;
  return state_.pointer.value_or(Point{});
}

uint32_t FakeInputState::checkAccess(uint32_t requestType) {
  state_.recorder.record("checkAccess", "", [&] { return std::to_string(requestType); });
  // Posting events (0) is another permission the scene does not describe:
  // it answers "not yet determined".
  return requestType == kListenEventRequestType ? state_.inputTimeline.listenEventAccess : 2;
}

// The run loop has nothing but the timer, so it jumps from firing to firing
// in virtual time and returns once the timeline's end has passed.
void FakeInputState::runRepeatingTimer(double intervalSeconds, double toleranceSeconds,
                                       const std::function<void()>& onFire) {
  state_.recorder.record("runRepeatingTimer", "", [&] {
    return "interval " + numberText(intervalSeconds) + " tolerance " +
           numberText(toleranceSeconds) + " common modes";
  });
  const InputTimeline& timeline = state_.inputTimeline;
  double end = timeline.end.value_or(
      (timeline.entries.empty() ? 0 : timeline.entries.back().first) + kInputTimelineTail);
  end = std::min(end, kLongestInputTimelineSeconds);
  // Like CFRunLoopTimer, an interval that is not positive fires once.
  const bool repeats = intervalSeconds > 0;
  const double start = state_.elapsed;
  for (uint64_t firing = 1; repeats || firing == 1; ++firing) {
    const double at = start + (repeats ? static_cast<double>(firing) * intervalSeconds : 0);
    if (at > end + kTimeSlack) break;
    state_.elapsed = std::max(state_.elapsed, at);
    state_.recorder.record("timerFired", "", [&] { return numberText(state_.elapsed); });
    onFire();
  }
}

}  // namespace tessary::fake
