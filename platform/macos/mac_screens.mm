#include "platform/macos/mac_screens.h"

#import <AppKit/AppKit.h>

namespace tessary::macos {

// The frame as AppKit gives it: bottom-left origin, in points. The logic
// uses only its size, which is the same in either origin convention.
std::optional<Rect> MacScreens::mainScreenFrame() {
  @autoreleasepool {
    NSScreen* screen = NSScreen.mainScreen;
    if (!screen) return std::nullopt;
    NSRect frame = screen.frame;
    return Rect{frame.origin.x, frame.origin.y, frame.size.width, frame.size.height};
  }
}

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
