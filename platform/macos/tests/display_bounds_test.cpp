#include "platform/macos/display_bounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <ostream>

namespace tessary::macos {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct DisplayCase {
  const char* name;
  uint32_t display;
  Rect bounds;
  std::optional<Rect> frame;
};

void PrintTo(const DisplayCase& c, std::ostream* os) {
  *os << c.name;
}

class MainScreenFrame : public testing::TestWithParam<DisplayCase> {};

TEST_P(MainScreenFrame, FromTheMainDisplaysBounds) {
  const DisplayCase& c = GetParam();
  std::optional<Rect> frame = mainScreenFrameFromDisplay(c.display, c.bounds);
  ASSERT_EQ(frame.has_value(), c.frame.has_value());
  if (frame) {
    EXPECT_EQ(frame->x, c.frame->x);
    EXPECT_EQ(frame->y, c.frame->y);
    EXPECT_EQ(frame->w, c.frame->w);
    EXPECT_EQ(frame->h, c.frame->h);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Displays, MainScreenFrame,
    testing::Values(DisplayCase{"builtInDisplay", 1, {0, 0, 1512, 982}, Rect{0, 0, 1512, 982}},
                    // Points, not pixels: a scaled display keeps its fractional size.
                    DisplayCase{
                        "scaledDisplay", 69733378, {0, 0, 1706.5, 960}, Rect{0, 0, 1706.5, 960}},
                    DisplayCase{"nullDisplay", 0, {0, 0, 1512, 982}, std::nullopt},
                    DisplayCase{"displayThatIsNotThere", 5, {0, 0, 0, 0}, std::nullopt},
                    DisplayCase{"zeroHeight", 1, {0, 0, 1512, 0}, std::nullopt},
                    DisplayCase{"negativeWidth", 1, {0, 0, -1512, 982}, std::nullopt},
                    DisplayCase{"notANumber", 1, {0, 0, kNaN, 982}, std::nullopt},
                    DisplayCase{"infiniteOrigin", 1, {-kInfinity, 0, 1512, 982}, std::nullopt},
                    DisplayCase{"infiniteHeight", 1, {0, 0, 1512, kInfinity}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::macos
