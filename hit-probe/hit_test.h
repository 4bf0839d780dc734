// Which live element lies under a point, looking through the host's own
// windows.
#pragma once

#include <cstdint>
#include <optional>
#include <set>

#include "hit-probe/candidate_points.h"
#include "platform/platform.h"

namespace tessary::hitprobe {

// Window-list options of the look-through: on screen only, no desktop
// elements.
inline constexpr uint32_t kLookThroughWindowListOptions =
    windowlist::onScreenOnly | windowlist::excludeDesktopElements;

// The system-wide element at the point when it belongs to a process that is
// not excluded; otherwise the element at the point within the application of
// the topmost non-excluded window there.
std::optional<AXElement> hitTest(Platform& platform, CandidatePoint point,
                                 const std::set<int32_t>& excludedPIDs);

// The owner of the frontmost on-screen window containing the point, skipping
// excluded owners, nearly transparent windows (alpha below 0.01), windows
// above layer 10 and windows without bounds.
std::optional<int32_t> topmostNonExcludedWindowPID(WindowServer& windowServer, CandidatePoint point,
                                                   const std::set<int32_t>& excludedPIDs);

}  // namespace tessary::hitprobe
