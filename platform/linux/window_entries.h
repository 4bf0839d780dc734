// The window server's list as the logic reads it, made from what the X
// server and the window manager say about each top-level window. Pure: the
// X11 reader fills the facts, everything else is decided here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/geometry.h"
#include "platform/plist_value.h"

namespace tessary::linuxdesktop {

enum class WindowType {
  normal,
  desktop,
  dock,
  toolbar,
  menu,
  utility,
  splash,
  dialog,
  dropdownMenu,
  popupMenu,
  tooltip,
  notification,
  combo,
  dnd
};

struct X11WindowFacts {
  uint32_t number = 0;  // the client window (the frame's when it holds none)
  Rect bounds;          // root coordinates, decorations and border included
  bool viewable = false;
  bool overrideRedirect = false;
  bool hidden = false;  // minimised (_NET_WM_STATE_HIDDEN or iconic WM_STATE)
  bool above = false;
  std::optional<WindowType> type;
  std::optional<int32_t> pid;
  std::optional<std::string> title;
  std::optional<std::string> ownerName;
  std::optional<double> opacity;  // 0..1
};

// The window layer (macOS levels: 0 normal, 3 floating, 20 dock, 101 pop-up
// menu, ...) for a window's type and state; see docs/linux-backend.md.
int64_t layerFor(const X11WindowFacts& window);
bool isDesktopElement(const X11WindowFacts& window);
bool isOnScreen(const X11WindowFacts& window);

// One entry with the keys and value kinds of the macOS window server.
PlistValue windowEntry(const X11WindowFacts& window);

// The list for the window list options, from windows given front to back;
// nothing for combinations the platform does not define.
std::optional<PlistArray> windowList(const std::vector<X11WindowFacts>& frontToBack,
                                     uint32_t options, uint32_t relativeToWindow);

}  // namespace tessary::linuxdesktop
