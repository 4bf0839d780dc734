// What the accessibility side needs from the window system: which window is
// active, which is in front at a point, and raising one.
#pragma once

#include <cstdint>
#include <optional>

#include "common/geometry.h"

namespace tessary::linuxdesktop {

struct WindowAtPoint {
  int32_t pid = 0;
  Rect bounds;
};

class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  virtual std::optional<int32_t> activeWindowPid() = 0;
  // The frontmost on-screen window with an owner under the point, of `pid`
  // only when given.
  virtual std::optional<WindowAtPoint> windowAt(double x, double y, std::optional<int32_t> pid) = 0;
  // Activates the window of `pid` that best matches `frame`; an accessibility
  // error code.
  virtual int32_t raiseWindow(int32_t pid, const Rect& frame) = 0;
};

}  // namespace tessary::linuxdesktop
