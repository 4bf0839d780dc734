#include "frost-curtain/band_mask.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <cwchar>
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

// A column's lines from its curve term e = ((2x - 1)^2)^curveExponent.
ColumnLines linesAt(const BlurLayerSpec& s, double e) {
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

namespace {

// A large block of one pixel, through the C library's pattern fill.
void fillBlock(uint8_t* at, int64_t count, uint32_t pixel) {
  if (count <= 0) return;
#if defined(__APPLE__)
  memset_pattern4(at, &pixel, static_cast<size_t>(count) * 4);
#else
  static_assert(sizeof(wchar_t) == 4);
  wchar_t unit;
  std::memcpy(&unit, &pixel, 4);
  std::wmemset(reinterpret_cast<wchar_t*>(at), unit, static_cast<size_t>(count));
#endif
}

// Runs at least this long cost less through the C library's fill than the
// call does.
constexpr int64_t kLongRun = 48;

// A run of pixels of one alpha, written four at a time; the last four end
// where the run ends, overlapping the ones before rather than the run's
// neighbours.
__attribute__((always_inline)) inline void fillPixels(uint8_t* at, int64_t count, uint8_t alpha) {
  const uint32_t pixel = pixelOf(alpha);
  if (count >= kLongRun) return fillBlock(at, count, pixel);
  if (count < 4) {
    for (int64_t i = 0; i < count; ++i)
      std::memcpy(at + 4 * i, &pixel, 4);
    return;
  }
  const std::array<uint32_t, 4> four{pixel, pixel, pixel, pixel};
  uint8_t* const last = at + 4 * count - 16;
  for (; at < last; at += 16)
    std::memcpy(at, four.data(), 16);
  std::memcpy(last, four.data(), 16);
}

void storePixel(uint8_t* at, uint8_t alpha) {
  const uint32_t pixel = pixelOf(alpha);
  std::memcpy(at, &pixel, 4);
}

// The alpha of one pixel from its column's lines, exactly as maskAlphaAt.
uint8_t alphaFromLines(const ColumnLines& lines, double y, const ByteThresholds& thresholds) {
  if (y >= lines.zero) return 0;
  if (y <= lines.full) return 255;
  return thresholds.byteOf(rampAt(lines, y));
}

// Every pixel on its own: for shapes whose lines do not fall steadily from
// the edges to the centre (a droop below zero), which the run writer needs.
void renderPixelByPixel(const std::vector<ColumnLines>& columns, int64_t width, int64_t height,
                        const ByteThresholds& thresholds, uint8_t* pixels) {
  for (int64_t r = 0; r < height; ++r) {
    const double y = rowY(height, r);
    uint8_t* row = pixels + r * width * 4;
    for (int64_t c = 0; c < width; ++c)
      storePixel(row + 4 * c, alphaFromLines(columns[static_cast<size_t>(c)], y, thresholds));
  }
}

// Half of a mask's columns, from its edge (j = 0) towards its centre: the left
// half runs left to right, the right half right to left. Where the lines fall
// steadily along a half, "alpha >= k" holds on a prefix of it in every row:
// at column j it holds where y lies below zero - L(k) * (zero - full), L(k)
// being the smallest ramp value of byte k. Each row is then a few runs, found
// by following where each level's prefix ends from one row to the next.
class HalfRuns {
 public:
  HalfRuns(const std::vector<ColumnLines>& columns, int64_t width, bool rightHalf)
      : count_(rightHalf ? width / 2 : (width + 1) / 2) {
    lines_.reserve(static_cast<size_t>(count_));
    // Padded so that a window of columns can always be read whole.
    zeros_.reserve(static_cast<size_t>(count_ + kWindow));
    spreads_.reserve(static_cast<size_t>(count_ + kWindow));
    for (int64_t j = 0; j < count_; ++j)
      lines_.push_back(columns[static_cast<size_t>(rightHalf ? width - 1 - j : j)]);
    for (const ColumnLines& lines : lines_) {
      zeros_.push_back(lines.zero);
      spreads_.push_back(lines.zero - lines.full);
    }
    zeros_.resize(static_cast<size_t>(count_ + kWindow), -INFINITY);
    spreads_.resize(static_cast<size_t>(count_ + kWindow), 0);
  }

  int64_t count() const { return count_; }

  // The lines fall (or stay) from the edge to the centre, and the softness is
  // the plain distance of the lines (not its 0.0001 floor).
  bool applies() const {
    for (int64_t j = 0; j < count_; ++j) {
      const ColumnLines& lines = lines_[static_cast<size_t>(j)];
      if (lines.softness != lines.zero - lines.full || lines.softness < 0.01) return false;
      if (j > 0) {
        const ColumnLines& outer = lines_[static_cast<size_t>(j - 1)];
        if (lines.zero > outer.zero || lines.full > outer.full) return false;
      }
    }
    return true;
  }

  // The other half's lines are this half's to within a rounding, column for
  // column (mirrored columns differ in the last bits of their x): this half's
  // runs are then the other's too, since a column is only taken as sure of a
  // level when it is far further from the level's line than that.
  bool mirrors(const HalfRuns& other) const {
    if (other.count_ > count_) return false;
    for (int64_t j = 0; j < other.count_; ++j) {
      const ColumnLines& a = lines_[static_cast<size_t>(j)];
      const ColumnLines& b = other.lines_[static_cast<size_t>(j)];
      if (std::abs(a.zero - b.zero) > kMirrorTolerance ||
          std::abs(a.full - b.full) > kMirrorTolerance)
        return false;
    }
    return true;
  }

  // The columns of one alpha that changed since the row before (the rest of
  // its run had that alpha already: runs only move towards the centre).
  struct Run {
    int64_t from, to;
    uint8_t alpha;
  };
  // Columns near a level's edge, worked out exactly.
  struct Unsure {
    int64_t from, to;
  };
  // This row's columns near an edge, and the row before's, which its runs
  // did not write.
  const std::vector<Unsure>& unsure() const { return unsure_; }
  const ColumnLines& lines(int64_t j) const { return lines_[static_cast<size_t>(j)]; }

  // The runs of the next row, handed to writeRun; rows must come top to
  // bottom (y falling).
  template <typename WriteRun>
  void advance(double y, const ByteThresholds& thresholds, const WriteRun& writeRun) {
    rowUnsure_.swap(previousRowUnsure_);
    rowUnsure_.clear();
    unsure_.clear();
    if (count_ == 0) return;
    // Levels up to allAtLeast_ hold on every column, levels past
    // someAtLeast_ on none. A margin far wider than the rounding on either
    // side keeps both sure; the few columns within it of a level's edge are
    // worked out exactly.
    const double above = y + kMargin, below = y - kMargin;
    while (allAtLeast_ < 255 && lineAt(count_ - 1, thresholds.lowest[allAtLeast_ + 1]) >= above)
      ++allAtLeast_;
    while (someAtLeast_ < 255 && lineAt(0, thresholds.lowest[someAtLeast_ + 1]) > below)
      ++someAtLeast_;
    someAtLeast_ = std::max(someAtLeast_, allAtLeast_);

    auto addRun = [&](int level, int64_t start, int64_t end) __attribute__((always_inline)) {
      Edge& edge = edges_[static_cast<size_t>(level)];
      const int64_t from = std::max(start, edge.written);
      if (end > from) writeRun(Run{from, end, static_cast<uint8_t>(level)});
      edge.written = std::max(edge.written, end);
    };
    int64_t end = 0;
    for (int k = someAtLeast_; k > allAtLeast_; --k) {
      const double lowest = thresholds.lowest[static_cast<size_t>(k)];
      Edge& edge = edges_[static_cast<size_t>(k)];
      const int64_t previous = edge.sure;
      edge.sure = followEdge(edge.sure, edge.step, lowest, above);
      edge.step = edge.sure - previous;
      // Columns sure of a higher level are sure of this one too.
      const int64_t start = end;
      end = std::max(end, edge.sure);
      addRun(k, start, end);
      if (end < count_ && lineAt(end, lowest) > below) {
        int64_t to = end + 1;
        while (to < count_ && lineAt(to, lowest) > below)
          ++to;
        rowUnsure_.push_back({end, to});
      }
    }
    addRun(allAtLeast_, end, count_);
    unsure_.insert(unsure_.end(), rowUnsure_.begin(), rowUnsure_.end());
    unsure_.insert(unsure_.end(), previousRowUnsure_.begin(), previousRowUnsure_.end());
  }

 private:
  static constexpr double kMargin = 1e-9;
  static constexpr int64_t kWindow = 8;
  static constexpr double kMirrorTolerance = 1e-12;

  struct Edge {
    int64_t sure = 0;     // where the columns sure of the level end
    int64_t step = 0;     // how far that moved with the last row
    int64_t written = 0;  // where the level's run ended in the rows before
  };

  double lineAt(int64_t j, double lowest) const {
    return zeros_[static_cast<size_t>(j)] - lowest * spreads_[static_cast<size_t>(j)];
  }

  // How many of the kWindow columns from `first` have the level's line at or
  // above `above`: they are a prefix of the window (the lines fall), so
  // this is where the level's edge lies in it if short of kWindow. Two
  // columns at a time, without a branch each; the padding past the last
  // column never counts.
  int64_t holdingInWindow(int64_t first, double lowest, double above) const {
    typedef double Two __attribute__((vector_size(16)));
    typedef int64_t TwoFlags __attribute__((vector_size(16)));
    const Two level = {lowest, lowest}, bound = {above, above};
    TwoFlags flags = {0, 0};
    for (int64_t i = 0; i < kWindow; i += 2) {
      Two zero, spread;
      std::memcpy(&zero, &zeros_[static_cast<size_t>(first + i)], sizeof zero);
      std::memcpy(&spread, &spreads_[static_cast<size_t>(first + i)], sizeof spread);
      flags += (zero - level * spread >= bound);
    }
    return -(flags[0] + flags[1]);
  }

  // The first column from `from` on where the level's line falls below
  // `above` (it lies above on a prefix), tried first where the last row's
  // move would put it.
  int64_t followEdge(int64_t from, int64_t step, double lowest, double above) const {
    auto holds = [&](int64_t j) { return lineAt(j, lowest) >= above; };
    // Columns before `from` hold (they did a row higher, where y was
    // larger). The edge moves nearly as far as with the row before.
    const int64_t guess = std::min(from + std::max<int64_t>(step, 0), count_);
    const int64_t first = std::max(guess - 1, from);
    const int64_t holding = holdingInWindow(first, lowest, above);
    int64_t lo, hi;  // holds at lo (or lo is before `from`), fails at hi
    if (holding == 0) {
      if (first == from) return from;
      lo = from - 1;
      hi = first;
    } else if (holding < kWindow) {
      return first + holding;
    } else {
      lo = first + kWindow - 1;
      hi = count_;
      for (int64_t jump = 1; lo + jump < count_; jump *= 2) {
        if (!holds(lo + jump)) {
          hi = lo + jump;
          break;
        }
        lo += jump;
      }
    }
    while (hi - lo > 1) {
      const int64_t mid = lo + (hi - lo) / 2;
      (holds(mid) ? lo : hi) = mid;
    }
    return hi;
  }

  int64_t count_;
  std::vector<ColumnLines> lines_;
  // Each column's 0 % line and its distance to the 100 % line.
  std::vector<double> zeros_, spreads_;
  int allAtLeast_ = 0, someAtLeast_ = 0;
  std::array<Edge, 256> edges_{};
  std::vector<Unsure> unsure_, rowUnsure_, previousRowUnsure_;
};

// The exact alpha of the columns near a level's edge.
void writeUnsure(const HalfRuns& runs, const HalfRuns& half, bool rightHalf, int64_t width,
                 double y, const ByteThresholds& thresholds, uint8_t* row) {
  for (const HalfRuns::Unsure& unsure : runs.unsure()) {
    for (int64_t j = unsure.from; j < std::min(unsure.to, half.count()); ++j)
      storePixel(row + 4 * (rightHalf ? width - 1 - j : j),
                 alphaFromLines(half.lines(j), y, thresholds));
  }
}

// Writes one changed run of a half into the row buffer, the right half
// mirrored and cut to its own columns.
__attribute__((always_inline)) inline void writeRun(const HalfRuns::Run& run, int64_t count,
                                                    bool rightHalf, int64_t width, uint8_t* row) {
  const int64_t to = std::min(run.to, count);
  if (to > run.from)
    fillPixels(row + 4 * (rightHalf ? width - to : run.from), to - run.from, run.alpha);
}

// The first `count` pixels of a row, mirrored into the `count` pixels that
// end at rowEnd (the first pixel last), four at a time.
void copyMirrored(const uint8_t* from, int64_t count, uint8_t* rowEnd) {
  typedef uint32_t Four __attribute__((vector_size(16)));
  int64_t j = 0;
  for (; j + 4 <= count; j += 4) {
    Four four;
    std::memcpy(&four, from + 4 * j, 16);
    four = __builtin_shufflevector(four, four, 3, 2, 1, 0);
    std::memcpy(rowEnd - 4 * (j + 4), &four, 16);
  }
  for (; j < count; ++j)
    std::memcpy(rowEnd - 4 * (j + 1), from + 4 * j, 4);
}

// The curve term of every column. Every band of a curtain has the screen's
// width and the curtain's exponent, so it is worked out once for them all.
const std::vector<double>& columnCurve(int64_t width, double curveExponent) {
  struct Curve {
    int64_t width;
    double exponent;
    std::vector<double> values;
  };
  thread_local std::optional<Curve> cached;
  const double exponent = std::max(0.2, curveExponent);
  if (cached && cached->width == width && cached->exponent == exponent) return cached->values;
  std::vector<double> values(static_cast<size_t>(width));
  for (int64_t c = 0; c < width; ++c) {
    const double t = 2 * columnX(width, c) - 1;
    // Columns mirrored across the centre usually get the same square, and
    // with it the same term, to the last bit.
    const int64_t mirror = width - 1 - c;
    const double square = t * t;
    const double mirrorT = 2 * columnX(width, mirror) - 1;
    values[static_cast<size_t>(c)] = mirror < c && mirrorT * mirrorT == square
                                         ? values[static_cast<size_t>(mirror)]
                                         : std::pow(square, exponent);
  }
  cached = Curve{width, exponent, std::move(values)};
  return cached->values;
}

std::vector<ColumnLines> columnLines(const MaskShape& shape, int64_t width) {
  const std::vector<double>& curve = columnCurve(width, shape.curveExponent);
  std::vector<ColumnLines> columns;
  columns.reserve(static_cast<size_t>(width));
  for (const double e : curve)
    columns.push_back(linesAt(shape.spec, e));
  return columns;
}

}  // namespace

MaskImage renderMask(const MaskShape& shape, int64_t width, int64_t height) {
  MaskImage image;
  if (width <= 0 || height <= 0 || width > kMaxMaskPixels / height) return image;
  image.width = width;
  image.height = height;
  image.rgba.resize(static_cast<size_t>(width * height * 4));
  uint8_t* pixels = image.rgba.data();

  // Every band of a curtain shares its opacity exponent.
  thread_local std::optional<ByteThresholds> cached;
  const double exponent = std::max(0.2, shape.opacityExponent);
  if (!cached || cached->exponent != exponent) cached.emplace(exponent);
  const ByteThresholds& thresholds = *cached;
  const std::vector<ColumnLines> columns = columnLines(shape, width);

  HalfRuns left(columns, width, false), right(columns, width, true);
  if (!left.applies() || !right.applies()) {
    renderPixelByPixel(columns, width, height, thresholds, pixels);
    return image;
  }
  const bool mirrored = left.mirrors(right);  // the usual case

  double highestZero = 0, lowestFull = 1;
  for (const ColumnLines& lines : columns) {
    highestZero = std::max(highestZero, lines.zero);
    lowestFull = std::min(lowestFull, lines.full);
  }
  // Rows above every 0 % line are clear, rows below every 100 % line opaque;
  // y falls row by row, so each kind is one block.
  int64_t firstShaped = 0;
  while (firstShaped < height && rowY(height, firstShaped) >= highestZero)
    ++firstShaped;
  int64_t firstOpaque = firstShaped;
  while (firstOpaque < height && rowY(height, firstOpaque) > lowestFull)
    ++firstOpaque;

  // Rows are put together in a buffer that stays in the cache, each from the
  // one before, and copied out whole, which the C library does with the
  // widest stores the processor has.
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  fillBlock(pixels, firstShaped * width, pixelOf(0));
  MaskBytes row(rowBytes);
  for (int64_t r = firstShaped; r < firstOpaque; ++r) {
    const double y = rowY(height, r);
    uint8_t* out = pixels + r * width * 4;
    int64_t changedFrom = width, changedTo = 0;
    left.advance(y, thresholds, [&](const HalfRuns::Run& run) {
      writeRun(run, left.count(), false, width, row.data());
      changedFrom = std::min(changedFrom, run.from);
      changedTo = std::max(changedTo, run.to);
    });
    writeUnsure(left, left, false, width, y, thresholds, row.data());
    if (mirrored) {
      // The right half's runs are the left half's: the columns they changed
      // are copied across, and the ones near an edge, whose lines may differ
      // in their last bits, worked out with its own.
      changedTo = std::min(changedTo, right.count());
      if (changedTo > changedFrom)
        copyMirrored(row.data() + 4 * changedFrom, changedTo - changedFrom,
                     row.data() + 4 * (width - changedFrom));
      writeUnsure(left, right, true, width, y, thresholds, row.data());
    } else {
      right.advance(y, thresholds, [&](const HalfRuns::Run& run) {
        writeRun(run, right.count(), true, width, row.data());
      });
      writeUnsure(right, right, true, width, y, thresholds, row.data());
    }
    std::memcpy(out, row.data(), rowBytes);
  }
  // Opaque white is every byte 255.
  std::memset(pixels + firstOpaque * width * 4, 255,
              static_cast<size_t>((height - firstOpaque) * width * 4));
  return image;
}

}  // namespace tessary::curtain
