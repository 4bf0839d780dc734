#include "platform/macos/mac_input_state.h"

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>
#include <IOKit/hidsystem/IOHIDLib.h>

#include "platform/macos/service_kits.h"

namespace tessary::macos {

uint64_t MacInputState::flagsState(int32_t stateId) {
  return CGEventSourceFlagsState(static_cast<CGEventSourceStateID>(stateId));
}

bool MacInputState::keyState(int32_t stateId, uint16_t keyCode) {
  return CGEventSourceKeyState(static_cast<CGEventSourceStateID>(stateId),
                               static_cast<CGKeyCode>(keyCode));
}

bool MacInputState::buttonState(int32_t stateId, uint32_t button) {
  return CGEventSourceButtonState(static_cast<CGEventSourceStateID>(stateId),
                                  static_cast<CGMouseButton>(button));
}

std::optional<Point> MacInputState::pointerLocation() {
  // A Create result: released here, once.
  CGEventRef event = CGEventCreate(nullptr);
  if (!event) return std::nullopt;
  CGPoint location = CGEventGetLocation(event);
  CFRelease(event);
  return Point{location.x, location.y};
}

uint32_t MacInputState::checkAccess(uint32_t requestType) {
  return static_cast<uint32_t>(IOHIDCheckAccess(static_cast<IOHIDRequestType>(requestType)));
}

void MacInputState::runRepeatingTimer(double intervalSeconds, double toleranceSeconds,
                                      const std::function<void()>& onFire) {
  // The block copies the function object, so the timer owns what it calls.
  std::function<void()> callback = onFire;
  CFRunLoopTimerRef timer = CFRunLoopTimerCreateWithHandler(
      kCFAllocatorDefault, CFAbsoluteTimeGetCurrent() + intervalSeconds, intervalSeconds, 0, 0,
      ^(CFRunLoopTimerRef) {
        callback();
      });
  if (!timer) return;
  CFRunLoopTimerSetTolerance(timer, toleranceSeconds);
  // The common modes keep the timer firing whatever mode the run loop is in.
  CFRunLoopAddTimer(CFRunLoopGetCurrent(), timer, kCFRunLoopCommonModes);
  // The timer is a source, so the run loop does not finish on its own; it
  // returns only if something stops it.
  CFRunLoopRun();
  CFRunLoopTimerInvalidate(timer);
  CFRelease(timer);
}

std::unique_ptr<InputState> makeInputState() {
  return std::make_unique<MacInputState>();
}

}  // namespace tessary::macos
