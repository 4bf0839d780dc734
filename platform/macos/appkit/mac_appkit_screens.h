// The curtain's displays: the main display as the screens kit gives it, and
// the screen list and the pointer from AppKit (NSScreen, NSEvent).
#pragma once

#include "platform/screens.h"

namespace tessary::macos {

class MacAppKitScreens : public Screens {
 public:
  explicit MacAppKitScreens(Screens& displays) : displays_(displays) {}
  std::optional<Rect> mainScreenFrame() override { return displays_.mainScreenFrame(); }
  std::vector<Rect> screenFrames() override;
  Point mouseLocation() override;

 private:
  Screens& displays_;
};

}  // namespace tessary::macos
