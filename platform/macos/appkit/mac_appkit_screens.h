// The curtain's displays: the main display from Core Graphics, and the
// screen list and the pointer from AppKit (NSScreen, NSEvent).
#pragma once

#include "platform/macos/mac_screens.h"

namespace tessary::macos {

class MacAppKitScreens : public MacScreens {
 public:
  std::vector<Rect> screenFrames() override;
  Point mouseLocation() override;
};

}  // namespace tessary::macos
