// Displays over Core Graphics.
#pragma once

#include "platform/screens.h"

namespace tessary::macos {

class MacScreens : public Screens {
 public:
  std::optional<Rect> mainScreenFrame() override;
  std::vector<Rect> screenFrames() override;
  Point mouseLocation() override;
};

}  // namespace tessary::macos
