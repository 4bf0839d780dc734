// The simulated input state: a timeline of keys, modifier flags, buttons and
// pointer positions keyed by virtual time, the input-monitoring access
// answer, and the sampling timer that plays the timeline.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/input_state.h"

namespace tessary::fake {

// Everything the input state answers at one moment.
struct InputSnapshot {
  uint64_t flags = 0;
  std::set<uint16_t> keysDown;
  std::set<uint32_t> buttonsDown;
  // Where the pointer is; unset until the timeline places it (the scene's
  // `pointer`, else the origin, until then).
  std::optional<Point> pointer;
  bool eventFails = false;  // CGEventCreate answers nothing
};

struct InputTimeline {
  // Each entry holds from its time (virtual seconds since the start) until
  // the next one; before the first everything is up.
  std::vector<std::pair<double, InputSnapshot>> entries;
  // When the sampling run loop returns; unset: one tenth of a second after
  // the last entry.
  std::optional<double> end;
  uint32_t listenEventAccess = 0;  // granted
};

// A run loop fed from a scene must end, and a short one is all a test or a
// demo needs.
inline constexpr double kLongestInputTimelineSeconds = 600;
inline constexpr double kInputTimelineTail = 0.1;

class FakeInputState : public InputState {
 public:
  explicit FakeInputState(FakeDesktop::State& state) : state_(state) {}

  uint64_t flagsState(int32_t stateId) override;
  bool keyState(int32_t stateId, uint16_t keyCode) override;
  bool buttonState(int32_t stateId, uint32_t button) override;
  std::optional<Point> pointerLocation() override;
  uint32_t checkAccess(uint32_t requestType) override;
  void runRepeatingTimer(double intervalSeconds, double toleranceSeconds,
                         const std::function<void()>& onFire) override;

 private:
  // The timeline's state at the current virtual time; only the HID system
  // state (1) is simulated, other state ids answer "nothing held".
  const InputSnapshot& now(int32_t stateId) const;

  FakeDesktop::State& state_;
};

}  // namespace tessary::fake
