// The module's four operations on the host's windows, over the platform. The
// glue has checked the arguments; an unusable handle is an answer, not an
// error.
#pragma once

#include <cstdint>
#include <span>

#include "pane_anchor/z_order.h"
#include "platform/platform.h"

namespace tessary::anchor {

// The window-list options of describeZOrder: on screen only, without the
// desktop elements.
inline constexpr uint32_t kOnScreenListOptions = 17;

// Orders the handle's window directly above the window numbered `target`, at
// the floating level. False for target 0, an unusable handle, or a window
// that has no window number yet (its level is raised all the same).
bool pinAbove(Platform& platform, std::span<const uint8_t> handle, uint32_t target);
// Puts the handle's window back at the normal level; false for an unusable
// handle.
bool setWindowLevelNormal(Platform& platform, std::span<const uint8_t> handle);
// The window's number; 0 for an unusable handle.
int64_t getWindowNumber(Platform& platform, std::span<const uint8_t> handle);

struct ZOrderDescription {
  bool ok = false;  // false: the handle is unusable, nothing else is set
  int64_t windowNumber = 0;
  int64_t windowLevel = 0;
  ZOrderPlace place;
};
ZOrderDescription describeZOrder(Platform& platform, std::span<const uint8_t> handle);

}  // namespace tessary::anchor
