// Displays (NSScreen).
#pragma once

#include <optional>

#include "common/geometry.h"

namespace tessary {

class Screens {
 public:
  virtual ~Screens() = default;
  // NSScreen.mainScreen.frame; nothing when there is no main screen.
  virtual std::optional<Rect> mainScreenFrame() = 0;
};

}  // namespace tessary
