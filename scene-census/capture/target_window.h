// Which window the capture is about: the frontmost counted window, optionally
// narrowed to one process or one screen region, with small auxiliary windows
// (find panels, toolbars) replaced by a much larger window of their process.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <set>

#include "common/environment.h"
#include "common/geometry.h"
#include "platform/window_server.h"
#include "scene-census/capture/window_list.h"

namespace tessary {

inline constexpr const char* kTargetPidVariable = "TESSARY_OVERLAY_TARGET_PID";
inline constexpr const char* kScopeBoundsVariable = "TESSARY_OVERLAY_SCOPE_BOUNDS";

std::optional<int32_t> getRequestedTargetPID(const Environment& environment);
std::optional<Rect> getRequestedScopeBounds(const Environment& environment);

// Writes the replacement line to `err` when an auxiliary window is replaced.
std::optional<WindowInfo> getTopVisibleWindow(WindowServer& windowServer,
                                              const std::set<int32_t>& excludedPIDs,
                                              const std::optional<Rect>& scopeBounds,
                                              std::optional<int32_t> targetPID,
                                              bool isFormTestsMode, std::ostream& err);

}  // namespace tessary
