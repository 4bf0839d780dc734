#include "scene-census/element/bounding_boxes.h"

#include <algorithm>

namespace tessary {

namespace {

// Extents and areas in 128 bits: box entries may be anywhere in the 64-bit
// range, and their differences and products must not overflow.
using Wide = __int128;

Wide width(const Box& box) {
  return Wide{box[2]} - box[0];
}
Wide height(const Box& box) {
  return Wide{box[3]} - box[1];
}

bool overlapsStrictly(const Box& a, const Box& b) {
  return a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
}

// The largest piece of the screen box `screen` inside one of the window's
// unobscured rectangles, converted to window-relative coordinates. Earlier
// rectangles win ties.
std::optional<Box> largestVisiblePiece(const Box& screen, const std::vector<Box>& rects,
                                       double offsetX, double offsetY) {
  std::optional<Box> best;
  Wide bestArea = 0;
  for (const Box& r : rects) {
    if (!overlapsStrictly(screen, r)) continue;
    Box piece{safeInt(static_cast<double>(std::max(screen[0], r[0])) - offsetX),
              safeInt(static_cast<double>(std::max(screen[1], r[1])) - offsetY),
              safeInt(static_cast<double>(std::min(screen[2], r[2])) - offsetX),
              safeInt(static_cast<double>(std::min(screen[3], r[3])) - offsetY)};
    Wide area = width(piece) * height(piece);
    if (!best || area > bestArea) {
      best = piece;
      bestArea = area;
    }
  }
  return best;
}

}  // namespace

bool boxHasArea(const Box& box) {
  return width(box) > 0 && height(box) > 0;
}

ElementBoxes computeBoxes(std::string_view role, const std::optional<Point>& position,
                          const std::optional<Size>& size, double windowOffsetX,
                          double windowOffsetY, const std::optional<Box>& parentsVisibleBBox,
                          const std::vector<Box>* multiRects) {
  ElementBoxes boxes;
  if (!position || !size) return boxes;
  const double x = position->x, y = position->y, w = size->width, h = size->height;

  Box local;
  if (role == "AXWindow") {
    local = {0, 0, safeInt(w), safeInt(h)};
  } else {
    double dx = x - windowOffsetX, dy = y - windowOffsetY;
    local = {safeInt(dx), safeInt(dy), safeInt(dx + w), safeInt(dy + h)};
  }
  Box screen{safeInt(x), safeInt(y), safeInt(x + w), safeInt(y + h)};

  if (multiRects && !multiRects->empty()) {
    boxes.visibleBBox = largestVisiblePiece(screen, *multiRects, windowOffsetX, windowOffsetY);
    if (boxes.visibleBBox) boxes.visibleSource = VisibleBoxSource::windowRects;
  } else if (parentsVisibleBBox) {
    const Box& p = *parentsVisibleBBox;
    if (overlapsStrictly(local, p)) {
      boxes.visibleBBox = Box{std::max(local[0], p[0]), std::max(local[1], p[1]),
                              std::min(local[2], p[2]), std::min(local[3], p[3])};
      boxes.visibleSource = VisibleBoxSource::parentBox;
    }
  } else {
    boxes.visibleBBox = local;
    boxes.visibleSource = VisibleBoxSource::ownBox;
  }
  boxes.bbox = screen;
  return boxes;
}

bool visibleByOwnBox(std::string_view role, const std::optional<Box>& visibleBBox) {
  if (!visibleBBox) return false;
  Wide w = width(*visibleBBox), h = height(*visibleBBox);
  if (role == "AXWindow" || role == "AXWebArea") return w > 0 && h > 0;
  return w >= 2 && h >= 2;
}

}  // namespace tessary
