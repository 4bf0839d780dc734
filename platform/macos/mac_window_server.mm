#include "platform/macos/mac_window_server.h"

#include <CoreGraphics/CoreGraphics.h>

#include "platform/macos/cf_ref.h"
#include "platform/macos/plist_translation.h"
#include "platform/macos/service_kits.h"

namespace tessary::macos {

// The option bits of window_server.h are numerically CGWindowListOption's.
static_assert(windowlist::onScreenOnly == kCGWindowListOptionOnScreenOnly);
static_assert(windowlist::onScreenAboveWindow == kCGWindowListOptionOnScreenAboveWindow);
static_assert(windowlist::onScreenBelowWindow == kCGWindowListOptionOnScreenBelowWindow);
static_assert(windowlist::includingWindow == kCGWindowListOptionIncludingWindow);
static_assert(windowlist::excludeDesktopElements == kCGWindowListExcludeDesktopElements);
static_assert(windowlist::nullWindowId == kCGNullWindowID);

std::optional<PlistArray> MacWindowServer::copyWindowInfo(uint32_t options,
                                                          uint32_t relativeToWindow) {
  CFRef<CFArrayRef> list = CFRef<CFArrayRef>::adopt(CGWindowListCopyWindowInfo(
      static_cast<CGWindowListOption>(options), static_cast<CGWindowID>(relativeToWindow)));
  if (!list) return std::nullopt;
  CFIndex count = CFArrayGetCount(list.get());
  PlistArray entries;
  entries.reserve(static_cast<size_t>(count));
  for (CFIndex i = 0; i < count; ++i) {
    if (std::optional<PlistValue> entry = plistFromCF(CFArrayGetValueAtIndex(list.get(), i))) {
      entries.push_back(std::move(*entry));
    }
  }
  return entries;
}

std::unique_ptr<WindowServer> makeWindowServer() {
  return std::make_unique<MacWindowServer>();
}

}  // namespace tessary::macos
