#include "common/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessary {

std::vector<Rect> rectSubtract(const Rect& base, const std::vector<Rect>& holes) {
  std::vector<Rect> pieces{base};
  std::vector<Rect> next;
  for (const Rect& hole : holes) {
    if (pieces.empty()) break;
    next.clear();
    for (const Rect& p : pieces) {
      const double ix0 = std::max(p.x, hole.x);
      const double iy0 = std::max(p.y, hole.y);
      const double ix1 = std::min(hole.x + hole.w, p.x + p.w);
      const double iy1 = std::min(hole.y + hole.h, p.y + p.h);
      if (!(ix0 < ix1 && iy0 < iy1)) {
        next.push_back(p);
        continue;
      }
      if (p.y < iy0) next.push_back({p.x, p.y, p.w, iy0 - p.y});
      if (p.y + p.h > iy1) next.push_back({p.x, iy1, p.w, p.y + p.h - iy1});
      if (p.x < ix0) next.push_back({p.x, iy0, ix0 - p.x, iy1 - iy0});
      if (p.x + p.w > ix1) next.push_back({ix1, iy0, p.x + p.w - ix1, iy1 - iy0});
    }
    pieces.swap(next);
  }
  return pieces;
}

std::optional<Rect> rectIntersection(const Rect& a, const Rect& b) {
  const double left = std::max(a.x, b.x);
  const double top = std::max(a.y, b.y);
  const double right = std::min(a.x + a.w, b.x + b.w);
  const double bottom = std::min(a.y + a.h, b.y + b.h);
  if (left < right && top < bottom) return Rect{left, top, right - left, bottom - top};
  return std::nullopt;
}

double iou(const Rect& a, const Rect& b) {
  // With a NaN edge, min and max would pick the other rectangle's edge in one
  // argument order only, and a broken frame could score as a perfect match.
  for (double v : {a.x, a.y, a.w, a.h, b.x, b.y, b.w, b.h}) {
    if (!std::isfinite(v)) return 0;
  }
  const double iw = std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x);
  const double ih = std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y);
  const double inter = std::max(iw, 0.0) * std::max(ih, 0.0);
  if (inter <= 0) return 0;
  const double areaA = std::max(a.w, 0.0) * std::max(a.h, 0.0);
  const double areaB = std::max(b.w, 0.0) * std::max(b.h, 0.0);
  return inter / (areaA + areaB - inter + 1e-9);
}

int64_t safeInt(double value) {
  if (!std::isfinite(value)) return 0;
  // 2^63 is exactly representable; every double below it (and at or above
  // -2^63) converts without overflow.
  constexpr double limit = 9223372036854775808.0;
  if (value >= limit) return std::numeric_limits<int64_t>::max();
  if (value <= -limit) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

}  // namespace tessary
