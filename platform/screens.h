// Displays.
#pragma once

#include <optional>
#include <vector>

#include "common/geometry.h"

namespace tessary {

class Screens {
 public:
  virtual ~Screens() = default;
  // The main display's bounds (CGMainDisplayID, CGDisplayBounds): the display
  // whose top-left corner is the origin of global coordinates, top-left
  // based; nothing when there is no main display.
  virtual std::optional<Rect> mainScreenFrame() = 0;
  // NSScreen.screens' frames in their order, in the platform's screen
  // coordinates (bottom-left origin). Both backends answer it; the default
  // (the main screen alone) serves test doubles that only know that one.
  virtual std::vector<Rect> screenFrames() {
    std::optional<Rect> main = mainScreenFrame();
    return main ? std::vector<Rect>{*main} : std::vector<Rect>{};
  }
  // NSEvent.mouseLocation, in the same coordinates; the default is the origin.
  virtual Point mouseLocation() { return Point{}; }
};

}  // namespace tessary
