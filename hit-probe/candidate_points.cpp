#include "hit-probe/candidate_points.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tessary::hitprobe {

namespace {

struct Fraction {
  double fx, fy;
};

constexpr std::array<Fraction, 5> kFractions = {{
    {0.5, 0.5},  // centre
    {0.1, 0.1},  // near top-left
    {0.9, 0.1},  // near top-right
    {0.1, 0.9},  // near bottom-left
    {0.9, 0.9},  // near bottom-right
}};

// round(fraction * extent) with extent >= 1 and fraction <= 0.9 stays well
// inside the 64-bit range, so the conversion back is exact and defined.
int64_t roundedOffset(double fraction, int64_t extent) {
  return static_cast<int64_t>(std::round(fraction * static_cast<double>(extent)));
}

int64_t saturatingAdd(int64_t a, int64_t b) {
  int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) {
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  }
  return sum;
}

}  // namespace

std::vector<CandidatePoint> uniqueCandidatePoints(int64_t x, int64_t y, int64_t width,
                                                  int64_t height) {
  const int64_t w = std::max<int64_t>(1, width);
  const int64_t h = std::max<int64_t>(1, height);
  std::vector<CandidatePoint> points;
  points.reserve(kFractions.size());
  for (const Fraction& fraction : kFractions) {
    CandidatePoint point{saturatingAdd(x, roundedOffset(fraction.fx, w)),
                         saturatingAdd(y, roundedOffset(fraction.fy, h))};
    if (std::find(points.begin(), points.end(), point) == points.end()) points.push_back(point);
  }
  return points;
}

}  // namespace tessary::hitprobe
