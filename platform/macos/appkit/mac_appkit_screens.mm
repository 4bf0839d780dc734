#include "platform/macos/appkit/mac_appkit_screens.h"

#import <AppKit/AppKit.h>

namespace tessary::macos {

// The curtain's screens, in AppKit's bottom-left coordinates. Only the curtain
// asks, after its application object exists (NSScreen needs it).
std::vector<Rect> MacAppKitScreens::screenFrames() {
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
Point MacAppKitScreens::mouseLocation() {
  NSPoint location = NSEvent.mouseLocation;
  return Point{location.x, location.y};
}

}  // namespace tessary::macos
