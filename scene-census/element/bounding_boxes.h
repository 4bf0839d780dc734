// The two boxes and the visibility of a captured element: where it is on the
// screen, and which part of it the user can actually see.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "common/geometry.h"

namespace tessary {

// Which rule produced an element's visible box.
enum class VisibleBoxSource { none, windowRects, parentBox, ownBox };

struct ElementBoxes {
  std::optional<Box> bbox;         // screen coordinates
  std::optional<Box> visibleBBox;  // relative to the containing window
  VisibleBoxSource visibleSource = VisibleBoxSource::none;
};

// setBBoxes: `windowOffsetX`/`windowOffsetY` are the record's own offsets (0
// for a window). With window rectangles the visible box is the element's
// largest visible piece across them; otherwise it is clipped by the parent's
// box; otherwise it is the element's own window-relative box.
ElementBoxes computeBoxes(std::string_view role, const std::optional<Point>& position,
                          const std::optional<Size>& size, double windowOffsetX,
                          double windowOffsetY, const std::optional<Box>& parentsVisibleBBox,
                          const std::vector<Box>* multiRects);

// The first visibility rule: a visible box with positive extent, at least two
// points each way except for windows and web areas.
bool visibleByOwnBox(std::string_view role, const std::optional<Box>& visibleBBox);

// True when the box has positive width and height.
bool boxHasArea(const Box& box);

}  // namespace tessary
