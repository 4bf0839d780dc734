// The window server's list as the capture sees it: which entries count, their
// records, and the processes that own counted windows.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/environment.h"
#include "common/geometry.h"
#include "platform/plist_value.h"
#include "platform/window_server.h"

namespace tessary {

// One window-server window.
struct WindowInfo {
  int32_t pid = 0;
  Rect bounds;
  std::string owner;  // untrimmed, empty when missing
  std::string name;   // untrimmed, empty when missing
  int64_t layer = 0;
  int64_t zIndex = 0;  // position in the window server's list, 0 = frontmost
  bool operator==(const WindowInfo&) const = default;
};

// Owners of the system's own chrome, never captured and never occluding.
bool isSystemExcludedOwner(std::string_view trimmedOwner);

// The list options the target choice and the index read with (on-screen only,
// including window, exclude desktop elements), and the one listVisibleAppPIDs
// reads with (on-screen only, exclude desktop elements).
inline constexpr uint32_t kWindowListOptions =
    windowlist::onScreenOnly | windowlist::includingWindow | windowlist::excludeDesktopElements;
inline constexpr uint32_t kVisibleAppsListOptions =
    windowlist::onScreenOnly | windowlist::excludeDesktopElements;

// The window server's entries front to back; empty when the call fails.
PlistArray getWindowInfo(WindowServer& windowServer);

bool shouldIncludeWindow(const PlistValue& window, const std::set<int32_t>& excludedPIDs,
                         bool isFormTestsMode);
std::optional<WindowInfo> windowInfoFromDictionary(const PlistValue& window, int64_t zIndex);

// Higher layer first, then nearer the front of the list.
bool windowOrderBefore(const WindowInfo& a, const WindowInfo& b);
void sortInWindowOrder(std::vector<WindowInfo>& windows);

// Owner ids of the counted windows, each once, front to back. Reads the
// exclusions itself and writes its diagnostic lines to `err`.
std::vector<int32_t> listVisibleAppPIDs(WindowServer& windowServer, const Environment& environment,
                                        bool isFormTestsMode, std::ostream& err);

// The counted windows of `pids`, sorted in window order.
std::vector<WindowInfo> getVisibleWindowsForPIDs(WindowServer& windowServer,
                                                 const std::vector<int32_t>& pids,
                                                 const std::set<int32_t>& excludedPIDs,
                                                 bool isFormTestsMode);

}  // namespace tessary
