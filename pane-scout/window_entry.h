// The window server's list as pane-scout sees it: one entry per on-screen
// window, front to back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/plist_value.h"
#include "platform/window_server.h"

namespace tessary::panescout {

struct WindowEntry {
  int32_t pid = 0;
  uint32_t cgWindowId = 0;
  std::string owner;
  std::string title;  // trimmed of whitespace and line breaks
  double x = 0, y = 0, w = 0, h = 0;
  int64_t layer = 0;
  bool operator==(const WindowEntry&) const = default;
};

// On-screen windows only, desktop elements left out.
inline constexpr uint32_t kWindowListOptions =
    windowlist::onScreenOnly | windowlist::excludeDesktopElements;

// Nothing when the description lacks its owner pid, owner name or usable
// bounds. Bounds must also be finite with truncated values inside the 64-bit
// range: nothing real has others, and no line could state them.
std::optional<WindowEntry> windowEntryFrom(const PlistValue& description);

// The entries of a list read from the window server; nothing when an
// element of it is not a dictionary.
std::optional<std::vector<WindowEntry>> windowEntriesFrom(const PlistArray& list);

// Nothing when the list is unavailable: the call fails, or an element of it
// is not a dictionary. Discarded descriptions are left out.
std::optional<std::vector<WindowEntry>> readWindowEntries(WindowServer& windowServer);

}  // namespace tessary::panescout
