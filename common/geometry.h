// Rectangles in global screen points (origin top-left of the main display,
// y downwards) and the integer boxes derived from them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tessary {

struct Point {
  double x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  double width = 0, height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  double x = 0, y = 0, w = 0, h = 0;
  bool operator==(const Rect&) const = default;
};

// [left, top, right, bottom], never x, y, width, height.
using Box = std::array<int64_t, 4>;

// Splits `base` into the disjoint pieces that no hole covers: per hole, each
// overlapped piece becomes its top, bottom, left and right parts, in that order.
std::vector<Rect> rectSubtract(const Rect& base, const std::vector<Rect>& holes);
std::optional<Rect> rectIntersection(const Rect& a, const Rect& b);
// Intersection over union; 0 when either rectangle has a non-finite value.
double iou(const Rect& a, const Rect& b);
// 0 for a non-finite value; otherwise truncated toward zero, clamped to the
// 64-bit range.
int64_t safeInt(double value);

}  // namespace tessary
