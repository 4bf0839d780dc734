// Where a window stands in the window server's on-screen list, and which
// windows are in front of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/plist_value.h"

namespace tessary::anchor {

struct WindowAbove {
  int64_t windowNumber = 0;
  std::string owner;  // "" when the entry names none
  int64_t layer = 0;  // 0 when the entry has none

  bool operator==(const WindowAbove&) const = default;
};

struct ZOrderPlace {
  // Position in the list, front to back (0 = frontmost); -1 when the window
  // is not in it or there is no list.
  int64_t index = -1;
  // The windows before it, frontmost first; every listed window when it is
  // not in the list.
  std::vector<WindowAbove> windowsAbove;

  bool operator==(const ZOrderPlace&) const = default;
};

// Walks the on-screen list (front to back) up to the window numbered
// `windowNumber`. An entry without a window number is left out but keeps
// its place in the count.
ZOrderPlace findZOrderPlace(const std::optional<PlistArray>& onScreenList, int64_t windowNumber);

}  // namespace tessary::anchor
