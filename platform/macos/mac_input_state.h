// The system-wide input state over Core Graphics event sources and IOKit's
// access check; the sampling timer on the current CFRunLoop.
#pragma once

#include "platform/input_state.h"

namespace tessary::macos {

class MacInputState : public InputState {
 public:
  uint64_t flagsState(int32_t stateId) override;
  bool keyState(int32_t stateId, uint16_t keyCode) override;
  bool buttonState(int32_t stateId, uint32_t button) override;
  std::optional<Point> pointerLocation() override;
  uint32_t checkAccess(uint32_t requestType) override;
  void runRepeatingTimer(double intervalSeconds, double toleranceSeconds,
                         const std::function<void()>& onFire) override;
};

}  // namespace tessary::macos
