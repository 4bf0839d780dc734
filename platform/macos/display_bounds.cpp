#include "platform/macos/display_bounds.h"

#include <cmath>

namespace tessary::macos {

std::optional<Rect> mainScreenFrameFromDisplay(uint32_t displayId, const Rect& bounds) {
  // kCGNullDirectDisplay.
  if (displayId == 0) return std::nullopt;
  if (!std::isfinite(bounds.x) || !std::isfinite(bounds.y)) return std::nullopt;
  if (!(bounds.w > 0 && bounds.h > 0 && std::isfinite(bounds.w) && std::isfinite(bounds.h))) {
    return std::nullopt;
  }
  return bounds;
}

}  // namespace tessary::macos
