#include "platform/linux/window_entries.h"

#include <limits>

#include "platform/window_server.h"

namespace tessary::linuxdesktop {

namespace {
constexpr int64_t kDesktopLevel = std::numeric_limits<int32_t>::min() + 1 + 20;
constexpr int64_t kNormalLevel = 0;
constexpr int64_t kFloatingLevel = 3;
constexpr int64_t kDockLevel = 20;
constexpr int64_t kStatusLevel = 25;
constexpr int64_t kPopUpMenuLevel = 101;
constexpr int64_t kHelpLevel = 200;
constexpr int64_t kDraggingLevel = 500;
}  // namespace

int64_t layerFor(const X11WindowFacts& window) {
  if (window.type) {
    switch (*window.type) {
      case WindowType::desktop:
        return kDesktopLevel;
      case WindowType::dock:
        return kDockLevel;
      case WindowType::menu:
      case WindowType::dropdownMenu:
      case WindowType::popupMenu:
      case WindowType::combo:
        return kPopUpMenuLevel;
      case WindowType::tooltip:
        return kHelpLevel;
      case WindowType::notification:
        return kStatusLevel;
      case WindowType::dnd:
        return kDraggingLevel;
      case WindowType::normal:
      case WindowType::toolbar:
      case WindowType::utility:
      case WindowType::splash:
      case WindowType::dialog:
        break;
    }
  }
  // A window the window manager does not manage and that names no type is a
  // transient pop-up of its application.
  if (window.overrideRedirect && !window.type) return kPopUpMenuLevel;
  if (window.above) return kFloatingLevel;
  return kNormalLevel;
}

bool isDesktopElement(const X11WindowFacts& window) {
  return window.type == WindowType::desktop;
}

bool isOnScreen(const X11WindowFacts& window) {
  return window.viewable && !window.hidden;
}

PlistValue windowEntry(const X11WindowFacts& window) {
  PlistDict entry;
  entry["kCGWindowNumber"] = PlistValue(int64_t{window.number});
  entry["kCGWindowLayer"] = PlistValue(layerFor(window));
  entry["kCGWindowAlpha"] = PlistValue(window.opacity.value_or(1.0));
  entry["kCGWindowStoreType"] = PlistValue(1);
  entry["kCGWindowSharingState"] = PlistValue(1);
  entry["kCGWindowBounds"] = PlistValue(PlistDict{{"X", PlistValue(window.bounds.x)},
                                                  {"Y", PlistValue(window.bounds.y)},
                                                  {"Width", PlistValue(window.bounds.w)},
                                                  {"Height", PlistValue(window.bounds.h)}});
  if (window.pid) entry["kCGWindowOwnerPID"] = PlistValue(int64_t{*window.pid});
  if (window.ownerName) entry["kCGWindowOwnerName"] = PlistValue(*window.ownerName);
  if (window.title) entry["kCGWindowName"] = PlistValue(*window.title);
  if (isOnScreen(window)) entry["kCGWindowIsOnscreen"] = PlistValue(true);
  return PlistValue(std::move(entry));
}

std::optional<PlistArray> windowList(const std::vector<X11WindowFacts>& windows, uint32_t options,
                                     uint32_t relativeToWindow) {
  const uint32_t listOption =
      options & (windowlist::onScreenOnly | windowlist::onScreenAboveWindow |
                 windowlist::onScreenBelowWindow);
  const bool excludeDesktop = (options & windowlist::excludeDesktopElements) != 0;
  const bool including = (options & windowlist::includingWindow) != 0;
  const bool noRelative = relativeToWindow == windowlist::nullWindowId;
  std::optional<size_t> relative;
  for (size_t i = 0; i < windows.size(); ++i) {
    if (!noRelative && windows[i].number == relativeToWindow) relative = i;
  }
  PlistArray list;
  auto add = [&](size_t i, bool onScreenOnly) {
    if (onScreenOnly && !isOnScreen(windows[i])) return;
    if (excludeDesktop && isDesktopElement(windows[i])) return;
    list.push_back(windowEntry(windows[i]));
  };
  switch (listOption) {
    case 0:
      if (including && !noRelative) {
        if (relative) add(*relative, false);
      } else {
        for (size_t i = 0; i < windows.size(); ++i)
          add(i, false);
      }
      break;
    case windowlist::onScreenOnly:
      for (size_t i = 0; i < windows.size(); ++i)
        add(i, true);
      break;
    case windowlist::onScreenAboveWindow:
    case windowlist::onScreenBelowWindow: {
      bool above = listOption == windowlist::onScreenAboveWindow;
      if (noRelative) {
        for (size_t i = 0; i < windows.size(); ++i)
          add(i, true);
      } else if (relative) {
        for (size_t i = 0; i < windows.size(); ++i) {
          if (i == *relative ? including : (above ? i < *relative : i > *relative)) add(i, true);
        }
      }
      break;
    }
    default:
      return std::nullopt;
  }
  return list;
}

}  // namespace tessary::linuxdesktop
