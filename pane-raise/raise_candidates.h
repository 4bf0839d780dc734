// The window walk of pane-raise: which window-server windows may be raised,
// and whether a point hits one.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "common/geometry.h"
#include "platform/plist_value.h"

namespace tessary::paneraise {

// Windows at this layer or above are never raised.
inline constexpr int64_t kLayerLimit = 24;

struct RaiseCandidate {
  std::string owner;  // as read
  int32_t pid = 0;
  std::string title;  // trimmed of whitespace and line breaks
  Rect bounds;        // as read, for the accessibility match
};

// Owners whose windows are never raised (exact, case-sensitive).
bool isSkippedOwner(std::string_view owner);

// The window as a candidate, or nothing when the walk skips it: no owner, a
// skipped owner, no bounds, no pid, an excluded pid, the host's own window,
// a layer of 24 or more, in that order.
std::optional<RaiseCandidate> raiseCandidate(const PlistValue& description,
                                             const std::set<int32_t>& excludedPIDs);

// x >= bx, x < bx + bw, y >= by, y < by + bh on the bounds truncated toward
// zero, computed without overflow. Bounds that are not finite or whose
// truncation leaves the 64-bit range are never hit.
bool hitsTruncatedBounds(const Rect& bounds, int64_t x, int64_t y);

}  // namespace tessary::paneraise
