// Boxes and the first visibility rule: clipping against the window's visible
// rectangles, against the parent's box, or neither.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "scene-census/element/bounding_boxes.h"

namespace tessary {
namespace {

struct BoxCase {
  const char* what;
  std::string role;
  std::optional<Point> position;
  std::optional<Size> size;
  double offsetX, offsetY;
  std::optional<Box> parentBox;
  std::optional<std::vector<Box>> rects;
  std::optional<Box> bbox;
  std::optional<Box> visibleBBox;
  bool visible;
};

TEST(ElementBoxes, ClipAndVisibility) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<BoxCase> cases = {
      {"button clipped by one large rectangle", "AXButton", Point{130.6, 70.4}, Size{40.9, 20.2},
       100, 50, std::nullopt, std::vector<Box>{{0, 0, 2000, 2000}}, Box{130, 70, 171, 90},
       Box{30, 20, 71, 40}, true},
      {"largest of two pieces wins", "AXButton", Point{130.6, 70.4}, Size{40.9, 20.2}, 100, 50,
       std::nullopt, std::vector<Box>{{0, 0, 150, 2000}, {150, 0, 2000, 80}}, Box{130, 70, 171, 90},
       Box{30, 20, 50, 40}, true},
      {"a later larger piece replaces an earlier one", "AXButton", Point{130, 70}, Size{40, 20}, 0,
       0, std::nullopt, std::vector<Box>{{150, 0, 2000, 80}, {0, 0, 150, 2000}},
       Box{130, 70, 170, 90}, Box{130, 70, 150, 90}, true},
      {"equal pieces: the earlier rectangle wins", "AXButton", Point{0, 0}, Size{40, 20}, 0, 0,
       std::nullopt, std::vector<Box>{{20, 0, 100, 100}, {0, 0, 20, 100}}, Box{0, 0, 40, 20},
       Box{20, 0, 40, 20}, true},
      {"touching a rectangle is not overlapping it", "AXButton", Point{0, 0}, Size{40, 20}, 0, 0,
       Box{0, 0, 1000, 1000}, std::vector<Box>{{40, 0, 100, 100}}, Box{0, 0, 40, 20}, std::nullopt,
       false},
      {"rectangles win over the parent box", "AXButton", Point{10, 10}, Size{40, 20}, 0, 0,
       Box{0, 0, 5, 5}, std::vector<Box>{{0, 0, 100, 100}}, Box{10, 10, 50, 30},
       Box{10, 10, 50, 30}, true},
      {"empty rectangle list falls back to the parent box", "AXButton", Point{10, 10}, Size{40, 20},
       0, 0, Box{0, 0, 30, 100}, std::vector<Box>{}, Box{10, 10, 50, 30}, Box{10, 10, 30, 30},
       true},
      {"one point wide piece is not visible", "AXButton", Point{99, 0}, Size{40, 20}, 0, 0,
       std::nullopt, std::vector<Box>{{0, 0, 100, 100}}, Box{99, 0, 139, 20}, Box{99, 0, 100, 20},
       false},
      {"a web area one point square is visible", "AXWebArea", Point{99, 99}, Size{40, 20}, 0, 0,
       std::nullopt, std::vector<Box>{{0, 0, 100, 100}}, Box{99, 99, 139, 119},
       Box{99, 99, 100, 100}, true},
      {"no size: no boxes", "AXButton", Point{10, 10}, std::nullopt, 0, 0, Box{0, 0, 100, 100},
       std::nullopt, std::nullopt, std::nullopt, false},
      {"no position: no boxes", "AXButton", std::nullopt, Size{10, 10}, 0, 0, Box{0, 0, 100, 100},
       std::nullopt, std::nullopt, std::nullopt, false},
      {"window without rectangles is clipped in its own space", "AXWindow", Point{300, 200},
       Size{800, 600}, 0, 0, Box{0, 25, 500, 600}, std::nullopt, Box{300, 200, 1100, 800},
       Box{0, 25, 500, 600}, true},
      {"window with rectangles keeps screen coordinates", "AXWindow", Point{300, 200},
       Size{800, 600}, 0, 0, Box{0, 0, 800, 600}, std::vector<Box>{{300, 200, 700, 500}},
       Box{300, 200, 1100, 800}, Box{300, 200, 700, 500}, true},
      {"outside the parent box", "AXButton", Point{200, 0}, Size{10, 10}, 0, 0, Box{0, 0, 100, 100},
       std::nullopt, Box{200, 0, 210, 10}, std::nullopt, false},
      {"nothing to clip against", "AXButton", Point{110, 60}, Size{10, 10}, 100, 50, std::nullopt,
       std::nullopt, Box{110, 60, 120, 70}, Box{10, 10, 20, 20}, true},
      {"negative coordinates truncate toward zero", "AXButton", Point{-10.7, -3.2},
       Size{20.9, 10.9}, 0, 0, std::nullopt, std::nullopt, Box{-10, -3, 10, 7}, Box{-10, -3, 10, 7},
       true},
      {"non-finite numbers count as zero", "AXButton", Point{nan, 5}, Size{10, INFINITY}, 0, 0,
       std::nullopt, std::nullopt, Box{0, 5, 0, 0}, Box{0, 5, 0, 0}, false},
      {"zero-size element", "AXGroup", Point{10, 10}, Size{0, 0}, 0, 0, std::nullopt, std::nullopt,
       Box{10, 10, 10, 10}, Box{10, 10, 10, 10}, false},
  };
  for (const BoxCase& c : cases) {
    ElementBoxes boxes = computeBoxes(c.role, c.position, c.size, c.offsetX, c.offsetY, c.parentBox,
                                      c.rects ? &*c.rects : nullptr);
    EXPECT_EQ(boxes.bbox, c.bbox) << c.what;
    EXPECT_EQ(boxes.visibleBBox, c.visibleBBox) << c.what;
    EXPECT_EQ(visibleByOwnBox(c.role, boxes.visibleBBox), c.visible) << c.what;
  }
}

TEST(ElementBoxes, HugeExtentsDoNotOverflow) {
  const double big = 9.2e18;
  std::vector<Box> rects{{-9'000'000'000'000'000'000, 0, 9'000'000'000'000'000'000, 100},
                         {0, 0, 10, 10}};
  ElementBoxes boxes =
      computeBoxes("AXButton", Point{-big, 0}, Size{2 * big, 50}, 0, 0, std::nullopt, &rects);
  ASSERT_TRUE(boxes.visibleBBox);
  EXPECT_EQ((*boxes.visibleBBox)[0], -9'000'000'000'000'000'000);
  EXPECT_TRUE(visibleByOwnBox("AXButton", boxes.visibleBBox));
}

}  // namespace
}  // namespace tessary
