#include "platform/macos/mac_screens.h"

#import <AppKit/AppKit.h>
#include <CoreGraphics/CoreGraphics.h>

#include "platform/macos/display_bounds.h"

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

// The curtain's screens, in AppKit's bottom-left coordinates. Only the curtain
// asks, after its application object exists (NSScreen needs it).
std::vector<Rect> MacScreens::screenFrames() {
  @autoreleasepool {
    std::vector<Rect> frames;
    for (NSScreen* screen in NSScreen.screens) {
      NSRect frame = screen.frame;
      frames.push_back(Rect{frame.origin.x, frame.origin.y, frame.size.width, frame.size.height});
    }
    return frames;
  }
}

// Screen coordinates, bottom-left origin, like the frames above.
Point MacScreens::mouseLocation() {
  NSPoint location = NSEvent.mouseLocation;
  return Point{location.x, location.y};
}

}  // namespace tessary::macos
