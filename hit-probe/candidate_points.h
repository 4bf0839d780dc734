// The points of a box that hit-probe tries, in order.
#pragma once

#include <cstdint>
#include <vector>

namespace tessary::hitprobe {

// Integer screen coordinates; the hit test hands them to the platform as
// floats, the reports print them as they are.
struct CandidatePoint {
  int64_t x = 0, y = 0;
  bool operator==(const CandidatePoint&) const = default;
};

// Centre, then near top-left, top-right, bottom-left and bottom-right, at
// x + round(fx * W), y + round(fy * H) with W, H at least 1 and halves
// rounded away from zero; repeated points are dropped. A coordinate beyond
// the 64-bit range saturates at its end instead of wrapping.
std::vector<CandidatePoint> uniqueCandidatePoints(int64_t x, int64_t y, int64_t width,
                                                  int64_t height);

}  // namespace tessary::hitprobe
