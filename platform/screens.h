// Displays.
#pragma once

#include <optional>

#include "common/geometry.h"

namespace tessary {

class Screens {
 public:
  virtual ~Screens() = default;
  // The main display's bounds (CGMainDisplayID, CGDisplayBounds): the display
  // whose top-left corner is the origin of global coordinates, top-left
  // based; nothing when there is no main display.
  virtual std::optional<Rect> mainScreenFrame() = 0;
};

}  // namespace tessary
