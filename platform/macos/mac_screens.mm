#include "platform/macos/mac_screens.h"

#include <CoreGraphics/CoreGraphics.h>

#include "platform/macos/display_bounds.h"
#include "platform/macos/service_kits.h"

namespace tessary::macos {

// The main display, not NSScreen.mainScreen: that is the screen holding the
// key window, which on a Mac with several displays can be another one, and it
// needs the shared application object. CGDisplayBounds needs neither and is
// already in the capture's top-left coordinates.
std::optional<Rect> MacScreens::mainScreenFrame() {
  CGDirectDisplayID display = CGMainDisplayID();
  CGRect bounds = CGDisplayBounds(display);
  return mainScreenFrameFromDisplay(
      display, Rect{bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height});
}

std::unique_ptr<Screens> makeScreens() {
  return std::make_unique<MacScreens>();
}

}  // namespace tessary::macos
