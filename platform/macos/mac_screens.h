// Displays over Core Graphics: the main display alone. The curtain's screen
// list and pointer come from AppKit (appkit/mac_appkit_screens.h).
#pragma once

#include "platform/screens.h"

namespace tessary::macos {

class MacScreens : public Screens {
 public:
  std::optional<Rect> mainScreenFrame() override;
};

}  // namespace tessary::macos
