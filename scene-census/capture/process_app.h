// Capture of one application: its accessibility windows that correspond to the
// target window, each paired with its visibility-index entry and built into a
// root element restricted to what is on screen.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "scene-census/capture/run_state.h"
#include "scene-census/capture/visibility_index.h"
#include "scene-census/capture/window_list.h"
#include "scene-census/element/ui_element.h"

namespace tessary {

inline constexpr const char* kFormTestsModeVariable = "FORM_TESTS_MODE";
inline constexpr const char* kIncludeAllAXWindowsVariable = "FORM_TESTS_INCLUDE_ALL_AX_WINDOWS";

// Never fails; empty when nothing of the application can be captured.
std::vector<std::unique_ptr<UIElement>> processApp(CaptureRunState& state, int32_t pid,
                                                   int maxDepth, GlobalVisibleIndex& globalVisIndex,
                                                   const std::optional<WindowInfo>& targetWindow);

}  // namespace tessary
