// Rectangle subtraction, intersection, intersection-over-union and safeInt.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/geometry.h"

namespace tessary {
namespace {

using Rects = std::vector<Rect>;

double area(const Rects& rects) {
  double total = 0;
  for (const Rect& r : rects)
    total += r.w * r.h;
  return total;
}

struct SubtractCase {
  const char* what;
  Rect base;
  Rects holes;
  Rects expected;
};

const SubtractCase kSubtractCases[] = {
    {"no holes", {0, 0, 100, 50}, {}, {{0, 0, 100, 50}}},
    {"disjoint hole", {0, 0, 100, 50}, {{200, 0, 10, 10}}, {{0, 0, 100, 50}}},
    {"touching edge only", {0, 0, 100, 50}, {{100, 0, 10, 50}}, {{0, 0, 100, 50}}},
    {"hole in the middle: top, bottom, left, right",
     {0, 0, 100, 100},
     {{40, 30, 20, 10}},
     {{0, 0, 100, 30}, {0, 40, 100, 60}, {0, 30, 40, 10}, {60, 30, 40, 10}}},
    {"hole covers everything", {10, 10, 20, 20}, {{0, 0, 100, 100}}, {}},
    {"identical hole", {10, 10, 20, 20}, {{10, 10, 20, 20}}, {}},
    {"hole over the left part", {0, 0, 100, 100}, {{-10, -10, 30, 200}}, {{20, 0, 80, 100}}},
    {"hole over the top right corner",
     {0, 0, 100, 100},
     {{50, -5, 100, 55}},
     {{0, 50, 100, 50}, {0, 0, 50, 50}}},
    {"two holes split in order",
     {0, 0, 100, 100},
     {{0, 0, 100, 10}, {0, 90, 100, 10}},
     {{0, 10, 100, 80}}},
    {"second hole cuts two pieces",
     {0, 0, 100, 100},
     {{40, 40, 20, 20}, {0, 45, 100, 10}},
     {{0, 0, 100, 40},
      {0, 60, 100, 40},
      {0, 40, 40, 5},
      {0, 55, 40, 5},
      {60, 40, 40, 5},
      {60, 55, 40, 5}}},
    {"sliver kept", {0, 0, 100, 100}, {{0, 0.5, 100, 100}}, {{0, 0, 100, 0.5}}},
    {"empty after first hole stays empty", {0, 0, 10, 10}, {{0, 0, 10, 10}, {50, 50, 10, 10}}, {}},
};

TEST(RectSubtract, Table) {
  for (const auto& c : kSubtractCases) {
    const Rects pieces = rectSubtract(c.base, c.holes);
    EXPECT_EQ(pieces, c.expected) << c.what;
  }
}

TEST(RectSubtract, PiecesAreDisjointAndCoverExactlyTheUncoveredArea) {
  // A staircase of windows: every piece must lie outside all holes, and the
  // areas must add up to what is left.
  const Rect base{0, 0, 1000, 800};
  Rects holes;
  for (int i = 0; i < 8; ++i)
    holes.push_back({i * 90.0, i * 70.0, 300, 200});
  const Rects pieces = rectSubtract(base, holes);
  for (const Rect& p : pieces) {
    EXPECT_GT(p.w, 0);
    EXPECT_GT(p.h, 0);
    for (const Rect& hole : holes)
      EXPECT_FALSE(rectIntersection(p, hole)) << p.x << "," << p.y;
  }
  for (size_t i = 0; i < pieces.size(); ++i) {
    for (size_t j = i + 1; j < pieces.size(); ++j)
      EXPECT_FALSE(rectIntersection(pieces[i], pieces[j]));
  }
  // Area of the union of the holes within the base, by a fine grid count.
  double covered = 0;
  for (int x = 0; x < 1000; x += 10) {
    for (int y = 0; y < 800; y += 10) {
      for (const Rect& h : holes) {
        if (x >= h.x && x < h.x + h.w && y >= h.y && y < h.y + h.h) {
          covered += 100;
          break;
        }
      }
    }
  }
  EXPECT_DOUBLE_EQ(area(pieces), 1000.0 * 800.0 - covered);
}

TEST(RectIntersection, OverlapTouchAndContainment) {
  EXPECT_EQ(rectIntersection({0, 0, 100, 100}, {50, 25, 100, 100}), (Rect{50, 25, 50, 75}));
  EXPECT_EQ(rectIntersection({0, 0, 100, 100}, {10, 10, 5, 5}), (Rect{10, 10, 5, 5}));
  EXPECT_EQ(rectIntersection({0, 0, 100, 100}, {100, 0, 10, 10}), std::nullopt);
  EXPECT_EQ(rectIntersection({0, 0, 100, 100}, {0, 100, 10, 10}), std::nullopt);
  EXPECT_EQ(rectIntersection({0, 0, 0, 100}, {0, 0, 10, 10}), std::nullopt);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(rectIntersection({nan, 0, 10, 10}, {0, 0, 10, 10}), std::nullopt);
}

TEST(Iou, Table) {
  struct Case {
    Rect a, b;
    double expected;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {{0, 0, 10, 10}, {0, 0, 10, 10}, 100.0 / (100.0 + 1e-9)},
      {{0, 0, 10, 10}, {5, 0, 10, 10}, 50.0 / (150.0 + 1e-9)},
      {{0, 0, 10, 10}, {2, 2, 4, 4}, 16.0 / (100.0 + 1e-9)},
      {{0, 0, 10, 10}, {10, 0, 10, 10}, 0.0},
      {{0, 0, 10, 10}, {20, 20, 10, 10}, 0.0},
      // Broken frames never match, in either argument order.
      {{nan, 0, 10, 10}, {0, 0, 10, 10}, 0.0},
      {{0, 0, nan, 10}, {0, 0, 10, 10}, 0.0},
      {{0, 0, 10, 10}, {0, 0, std::numeric_limits<double>::infinity(), 10}, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(iou(c.a, c.b), c.expected);
    EXPECT_DOUBLE_EQ(iou(c.b, c.a), c.expected);
  }
}

TEST(SafeInt, Table) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, int64_t> cases[] = {
      {0.0, 0},
      {-0.0, 0},
      {3.7, 3},
      {-3.7, -3},
      {-0.9, 0},
      {1e15 + 0.5, 1000000000000000},
      {std::numeric_limits<double>::quiet_NaN(), 0},
      {inf, 0},
      {-inf, 0},
      {1e300, std::numeric_limits<int64_t>::max()},
      {-1e300, std::numeric_limits<int64_t>::min()},
      {9223372036854775808.0, std::numeric_limits<int64_t>::max()},
      {-9223372036854775808.0, std::numeric_limits<int64_t>::min()},
      {9223372036854774784.0, 9223372036854774784},  // largest double below 2^63
  };
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(safeInt(value), expected) << value;
}

}  // namespace
}  // namespace tessary
