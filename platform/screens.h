// Displays (NSScreen).
#pragma once

#include <optional>
#include <vector>

#include "common/geometry.h"

namespace tessary {

class Screens {
 public:
  virtual ~Screens() = default;
  // NSScreen.mainScreen.frame; nothing when there is no main screen.
  virtual std::optional<Rect> mainScreenFrame() = 0;
  // NSScreen.screens' frames in their order, in the platform's screen
  // coordinates (bottom-left origin).
  virtual std::vector<Rect> screenFrames() = 0;
  // NSEvent.mouseLocation, in the same coordinates.
  virtual Point mouseLocation() = 0;
};

}  // namespace tessary
