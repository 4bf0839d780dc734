// Which entry answers a query: the window under a point, a window by its
// number, and the main window of a process.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pane-scout/window_entry.h"

namespace tessary::panescout {

inline constexpr double kMinMainWindowWidth = 220;
inline constexpr double kMinMainWindowHeight = 140;
// Windows at this layer or above (menu bar, status items, panels of the
// system) never answer "at".
inline constexpr int64_t kLayerLimit = 24;
inline constexpr std::string_view kOverlayOwner = "Tessary Overlay";

// Owners whose windows never answer "at" (exact, case-sensitive).
bool isSkippedOwner(std::string_view owner);

// x <= px < x + w and y <= py < y + h: the right and bottom edges are outside.
bool containsPoint(const WindowEntry& entry, double px, double py);

// Why "at" passes over an entry: "layer<N>", "owner", "pid", "overlay", or
// "no" when it does not.
std::string skipReason(const WindowEntry& entry, const std::set<int32_t>& excludedPIDs);

// The first entry, front to back, that "at" does not pass over and that
// contains the point.
const WindowEntry* topmostWindowAt(const std::vector<WindowEntry>& entries, double px, double py,
                                   const std::set<int32_t>& excludedPIDs);

// The first entry with that number, whatever its layer, owner or process.
const WindowEntry* windowById(const std::vector<WindowEntry>& entries, uint32_t cgWindowId);

// The main window of a process among its layer-0 entries: the first of at
// least 220 x 140 points, else the first of the strictly largest area.
const WindowEntry* mainWindowOf(const std::vector<WindowEntry>& entries, int32_t pid);

}  // namespace tessary::panescout
