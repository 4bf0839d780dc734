// The alpha mask of one band: opaque below the 100 % line, transparent above
// the 0 % line, a ramp with the opacity exponent between, both lines sagging
// towards the centre by their droop with the curve exponent shaping the sag.
#pragma once

#include <cstdint>
#include <vector>

#include "frost-curtain/preview_parameters.h"
#include "platform/compositor.h"

namespace tessary::curtain {

struct MaskShape {
  BlurLayerSpec spec;
  double opacityExponent = 1.4;
  double curveExponent = 1.0;
};

// Masks larger than this many pixels are not made (no real screen comes
// near it; a hostile frame would otherwise allocate without bound).
inline constexpr int64_t kMaxMaskPixels = int64_t{1} << 26;

// ceil(max(points × scale, 1)), at least 1; 0 for a size that is not finite
// or past the limit.
int64_t maskPixelExtent(double points, double scale);

// The alpha byte of the pixel in column c, row r (top row first) of a
// width × height mask, evaluated literally.
uint8_t maskAlphaAt(const MaskShape& shape, int64_t width, int64_t height, int64_t column,
                    int64_t row);

// The whole mask: rows of RGBA pixels, top row first, R = G = B = 255 and A
// the byte maskAlphaAt gives, computed without a power function per pixel.
// Empty when width × height is 0 or more than kMaxMaskPixels.
MaskImage renderMask(const MaskShape& shape, int64_t width, int64_t height);

}  // namespace tessary::curtain
