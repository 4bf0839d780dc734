// The system-wide input state and the sampling timer, as input-sentinel reads
// them (Core Graphics event-source state, IOKit's input-monitoring access
// check, a run-loop timer).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "common/geometry.h"

namespace tessary {

// kCGEventSourceStateHIDSystemState: the state of the hardware itself.
inline constexpr int32_t kHIDSystemStateId = 1;
// kIOHIDRequestTypeListenEvent.
inline constexpr uint32_t kListenEventRequestType = 1;
// kCGMouseButtonLeft.
inline constexpr uint32_t kLeftMouseButton = 0;

class InputState {
 public:
  virtual ~InputState() = default;
  // CGEventSourceFlagsState(stateId): the modifier flags held now.
  virtual uint64_t flagsState(int32_t stateId) = 0;
  // CGEventSourceKeyState(stateId, keyCode): the key is down.
  virtual bool keyState(int32_t stateId, uint16_t keyCode) = 0;
  // CGEventSourceButtonState(stateId, button): the button is down.
  virtual bool buttonState(int32_t stateId, uint32_t button) = 0;
  // CGEventCreate(NULL) then CGEventGetLocation: the pointer in global
  // display coordinates (top-left origin, y downwards); nothing when the
  // event cannot be created.
  virtual std::optional<Point> pointerLocation() = 0;
  // IOHIDCheckAccess(requestType): 0 granted, 1 denied, 2 not yet determined.
  virtual uint32_t checkAccess(uint32_t requestType) = 0;
  // Adds a repeating timer (first firing one interval from now) to the
  // current run loop in the common modes and runs the run loop. On macOS it
  // never returns; the simulated desktop returns when its input timeline is
  // over.
  virtual void runRepeatingTimer(double intervalSeconds, double toleranceSeconds,
                                 const std::function<void()>& onFire) = 0;
};

}  // namespace tessary
