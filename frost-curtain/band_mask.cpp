#include "frost-curtain/band_mask.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

namespace tessary::curtain {

namespace {

// std::bit_cast is missing from the macOS SDK's C++ library.
template <typename To, typename From>
To bitCast(const From& from) {
  static_assert(sizeof(To) == sizeof(From));
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

double rowY(int64_t height, int64_t row) {
  return static_cast<double>(height - 1 - row) /
         static_cast<double>(std::max<int64_t>(height - 1, 1));
}

double columnX(int64_t width, int64_t column) {
  return static_cast<double>(column) / static_cast<double>(std::max<int64_t>(width - 1, 1));
}

struct ColumnLines {
  double zero;      // the 0 % line
  double full;      // the 100 % line
  double softness;  // max(0.0001, zero - full)
};

ColumnLines linesAt(const MaskShape& shape, double x) {
  const double t = 2 * x - 1;
  const double e = std::pow(t * t, std::max(0.2, shape.curveExponent));
  const BlurLayerSpec& s = shape.spec;
  const double zero = clampValue(s.zeroOpacitySide - s.zeroOpacityDroop * (1 - e), 0.05, 0.995);
  const double full = clampValue(s.fullOpacitySide - s.fullOpacityDroop * (1 - e), 0, zero - 0.04);
  return {zero, full, std::max(0.0001, zero - full)};
}

// The ramp value of the soft edge: 0 at or above the 0 % line, 1 at or below
// the 100 % line. The byte is then a non-decreasing function of it alone.
double rampAt(const ColumnLines& lines, double y) {
  if (y >= lines.zero) return 0;
  if (y <= lines.full) return 1;
  return clampValue(1 - (y - lines.full) / lines.softness, 0, 1);
}

uint8_t byteOfRamp(double q, double exponent) {
  const double a = std::pow(q, exponent);
  return static_cast<uint8_t>(clampValue(a, 0, 1) * 255);
}

uint32_t pixelOf(uint8_t alpha) {
  // R, G, B, A in memory order.
  return bitCast<uint32_t>(std::array<uint8_t, 4>{255, 255, 255, alpha});
}

// For every byte k, the smallest ramp value whose byte is at least k, found
// by bisection over the ordered bit patterns of the doubles in [0, 1]; the
// power function is monotonic in its base, so the byte is a step function of
// the ramp and these thresholds reproduce it exactly.
struct ByteThresholds {
  std::array<double, 257> lowest{};  // lowest[256] = +inf
  static constexpr int kBuckets = 4096;
  std::array<uint8_t, kBuckets + 1> bucketStart{};

  double exponent;

  explicit ByteThresholds(double exponentOfRamp) : exponent(exponentOfRamp) {
    const uint64_t oneBits = bitCast<uint64_t>(1.0);
    lowest[0] = 0;
    for (int k = 1; k <= 255; ++k) {
      if (byteOfRamp(1.0, exponent) < k) {
        lowest[k] = INFINITY;
        continue;
      }
      uint64_t lo = 0, hi = oneBits;  // byte(hi) >= k
      while (lo < hi) {
        const uint64_t mid = lo + (hi - lo) / 2;
        if (byteOfRamp(bitCast<double>(mid), exponent) >= k) {
          hi = mid;
        } else {
          lo = mid + 1;
        }
      }
      lowest[k] = bitCast<double>(hi);
    }
    lowest[256] = INFINITY;
    int b = 0;
    for (int i = 0; i <= kBuckets; ++i) {
      const double q = static_cast<double>(i) / kBuckets;
      while (b < 255 && q >= lowest[b + 1])
        ++b;
      bucketStart[static_cast<size_t>(i)] = static_cast<uint8_t>(b);
    }
  }

  uint8_t byteOf(double q) const {
    unsigned b = bucketStart[static_cast<size_t>(q * kBuckets)];
    while (q >= lowest[b + 1])
      ++b;
    return static_cast<uint8_t>(b);
  }
};

}  // namespace

int64_t maskPixelExtent(double points, double scale) {
  const double pixels = std::ceil(std::max(points * scale, 1.0));
  if (!std::isfinite(pixels) || pixels > static_cast<double>(kMaxMaskPixels)) return 0;
  return std::max<int64_t>(static_cast<int64_t>(pixels), 1);
}

uint8_t maskAlphaAt(const MaskShape& shape, int64_t width, int64_t height, int64_t column,
                    int64_t row) {
  const double y = rowY(height, row);
  const double x = columnX(width, column);
  const double t = 2 * x - 1;
  const double e = std::pow(t * t, std::max(0.2, shape.curveExponent));
  const BlurLayerSpec& s = shape.spec;
  const double zeroLine = clampValue(s.zeroOpacitySide - s.zeroOpacityDroop * (1 - e), 0.05, 0.995);
  double a;
  if (y >= zeroLine) {
    a = 0;
  } else {
    const double fullLine =
        clampValue(s.fullOpacitySide - s.fullOpacityDroop * (1 - e), 0, zeroLine - 0.04);
    if (y <= fullLine) {
      a = 1;
    } else {
      const double q = clampValue(1 - (y - fullLine) / std::max(0.0001, zeroLine - fullLine), 0, 1);
      a = std::pow(q, std::max(0.2, shape.opacityExponent));
    }
  }
  return static_cast<uint8_t>(clampValue(a, 0, 1) * 255);
}

MaskImage renderMask(const MaskShape& shape, int64_t width, int64_t height) {
  MaskImage image;
  if (width <= 0 || height <= 0 || width > kMaxMaskPixels / height) return image;
  image.width = width;
  image.height = height;
  image.rgba.resize(static_cast<size_t>(width * height * 4));

  // Every band of a curtain shares its opacity exponent.
  thread_local std::optional<ByteThresholds> cached;
  const double exponent = std::max(0.2, shape.opacityExponent);
  if (!cached || cached->exponent != exponent) cached.emplace(exponent);
  const ByteThresholds& thresholds = *cached;
  std::vector<ColumnLines> columns(static_cast<size_t>(width));
  double highestZero = 0, lowestFull = 1;
  for (int64_t c = 0; c < width; ++c) {
    const ColumnLines lines = linesAt(shape, columnX(width, c));
    columns[static_cast<size_t>(c)] = lines;
    highestZero = std::max(highestZero, lines.zero);
    lowestFull = std::min(lowestFull, lines.full);
  }

  // Columns that mirror each other across the centre usually get the same
  // lines to the last bit; their pixels are then computed once.
  std::vector<uint8_t> mirrored(static_cast<size_t>(width));
  for (int64_t c = 0; c < width / 2; ++c) {
    const ColumnLines& left = columns[static_cast<size_t>(c)];
    const ColumnLines& right = columns[static_cast<size_t>(width - 1 - c)];
    mirrored[static_cast<size_t>(c)] =
        left.zero == right.zero && left.full == right.full && left.softness == right.softness;
  }

  const uint32_t transparent = pixelOf(0), opaque = pixelOf(255);
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  const uint8_t* transparentRow = nullptr;
  const uint8_t* opaqueRow = nullptr;
  for (int64_t r = 0; r < height; ++r) {
    uint8_t* row = image.rgba.data() + r * width * 4;
    const double y = rowY(height, r);
    if (y >= highestZero || y <= lowestFull) {
      // Whole rows repeat: the first of each kind is written, the rest copied.
      const bool clear = y >= highestZero;
      const uint8_t*& first = clear ? transparentRow : opaqueRow;
      if (first) {
        std::memcpy(row, first, rowBytes);
      } else {
        const uint32_t pixel = clear ? transparent : opaque;
        for (int64_t c = 0; c < width; ++c)
          std::memcpy(row + 4 * c, &pixel, 4);
        first = row;
      }
      continue;
    }
    auto pixelAt = [&](int64_t c) {
      const ColumnLines& lines = columns[static_cast<size_t>(c)];
      if (y >= lines.zero) return transparent;
      if (y <= lines.full) return opaque;
      return pixelOf(thresholds.byteOf(rampAt(lines, y)));
    };
    for (int64_t c = 0; c < width; ++c) {
      const int64_t mirror = width - 1 - c;
      if (mirror < c && mirrored[static_cast<size_t>(mirror)]) continue;  // written with its twin
      const uint32_t pixel = pixelAt(c);
      std::memcpy(row + 4 * c, &pixel, 4);
      if (mirror > c && mirrored[static_cast<size_t>(c)]) std::memcpy(row + 4 * mirror, &pixel, 4);
    }
  }
  return image;
}

}  // namespace tessary::curtain
