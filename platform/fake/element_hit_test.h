// Which element lies under a point, as element-at-position finds it.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/fake/fake_state.h"

namespace tessary::fake {

// The frontmost window of the window list under the point that a click would
// reach: on screen, not click-through, not fully transparent, owned by a
// running application of the scene. Windows of processes the scene has no
// application for are looked through (they have no accessibility tree here).
std::optional<size_t> windowUnderPoint(const State& state, Point point);

// The deepest hit-testable element under the point inside `element`'s
// subtree: an element whose frame does not contain the point hides its
// subtree; one without a frame, or not hit-testable, is looked through to its
// children. Among children, later ones lie in front of earlier ones.
std::optional<uint32_t> hitInElement(const State& state, uint32_t element, Point point);

// The same over an application's windows ("AXWindows", front to back).
std::optional<uint32_t> hitInApplication(const State& state, const ApplicationRecord& app,
                                         Point point);

// The element's frame from its current "AXPosition" and "AXSize".
std::optional<Rect> elementFrame(const State& state, uint32_t element);

}  // namespace tessary::fake
