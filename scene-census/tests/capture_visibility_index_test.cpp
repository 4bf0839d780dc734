// The visible pieces of each counted window, computed on demand.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "scene-census/capture/visibility_index.h"

namespace tessary {
namespace {

const Rect kScreen{0, 0, 1000, 800};

WindowInfo window(int32_t pid, Rect bounds, int64_t zIndex) {
  return WindowInfo{pid, bounds, "Owner", "Window " + std::to_string(zIndex), 0, zIndex};
}

// The index as the plain front-to-back algorithm builds it: each window loses
// what the windows in front of it cover, and only windows with something left
// cover the ones behind.
std::vector<std::vector<Rect>> eagerPieces(const std::vector<WindowInfo>& windows,
                                           const Rect& screen) {
  std::vector<Rect> occluders;
  std::vector<std::vector<Rect>> result;
  for (const WindowInfo& w : windows) {
    double left = std::max(w.bounds.x, 0.0), top = std::max(w.bounds.y, 0.0);
    double right = std::min(screen.w, w.bounds.x + w.bounds.w);
    double bottom = std::min(screen.h, w.bounds.y + w.bounds.h);
    if (!(left < right && top < bottom)) {
      result.emplace_back();
      continue;
    }
    Rect clipped{left, top, right - left, bottom - top};
    std::vector<Rect> pieces = rectSubtract(clipped, occluders);
    if (!pieces.empty()) occluders.push_back(clipped);
    result.push_back(std::move(pieces));
  }
  return result;
}

TEST(GlobalVisibleIndex, WindowBehindASmallerOneKeepsFourPiecesInOrder) {
  GlobalVisibleIndex index({window(1, {400, 300, 200, 100}, 0), window(2, {100, 100, 800, 600}, 1)},
                           kScreen);
  ASSERT_EQ(index.size(), 2u);
  EXPECT_EQ(index.visible(0), (std::vector<Rect>{{400, 300, 200, 100}}));
  EXPECT_EQ(index.visible(1), (std::vector<Rect>{{100, 100, 800, 200},     // top
                                                 {100, 400, 800, 300},     // bottom
                                                 {100, 300, 300, 100},     // left
                                                 {600, 300, 300, 100}}));  // right
}

TEST(GlobalVisibleIndex, ClipsToTheMainScreenAndKeepsFullBounds) {
  GlobalVisibleIndex index({window(1, {-150, 50, 400, 300}, 0),
                            window(2, {1200, 0, 500, 500}, 1),  // on a display to the right
                            window(3, {900, 700, 300, 300}, 2)},
                           kScreen);
  VisibleWindowInfo offLeft = index.entry(0);
  EXPECT_EQ(offLeft.bounds, (Rect{-150, 50, 400, 300}));
  EXPECT_EQ(offLeft.visible, (std::vector<Rect>{{0, 50, 250, 300}}));
  EXPECT_TRUE(index.visible(1).empty());
  EXPECT_EQ(index.visible(2), (std::vector<Rect>{{900, 700, 100, 100}}));
}

TEST(GlobalVisibleIndex, CoveredWindowStaysInTheIndexWithNothingVisible) {
  GlobalVisibleIndex index({window(5, {0, 0, 600, 600}, 0), window(5, {100, 100, 200, 200}, 1),
                            window(6, {500, 0, 300, 100}, 2)},
                           kScreen);
  VisibleWindowInfo covered = index.entry(1);
  EXPECT_EQ(covered.pid, 5);
  EXPECT_EQ(covered.name, "Window 1");
  EXPECT_TRUE(covered.visible.empty());
  EXPECT_EQ(index.visible(2), (std::vector<Rect>{{600, 0, 200, 100}}));
}

TEST(GlobalVisibleIndex, TouchingWindowsDoNotCoverEachOther) {
  GlobalVisibleIndex index({window(1, {0, 0, 500, 400}, 0), window(2, {500, 0, 500, 400}, 1),
                            window(3, {0, 400, 1000, 400}, 2)},
                           kScreen);
  EXPECT_EQ(index.visible(1), (std::vector<Rect>{{500, 0, 500, 400}}));
  EXPECT_EQ(index.visible(2), (std::vector<Rect>{{0, 400, 1000, 400}}));
}

std::vector<WindowInfo> randomLayout(std::mt19937& random, int count, double unit) {
  std::uniform_int_distribution<int> position(-20, 110), extent(1, 60);
  std::vector<WindowInfo> windows;
  for (int i = 0; i < count; ++i) {
    Rect bounds{position(random) * unit, position(random) * unit, extent(random) * unit,
                extent(random) * unit};
    windows.push_back(window(i % 4, bounds, i));
  }
  return windows;
}

std::vector<WindowInfo> cascade(int count) {
  std::vector<WindowInfo> windows;
  // Front window last-opened, lower right; each older one 22 points up-left.
  for (int i = 0; i < count; ++i) {
    double offset = 22.0 * (count - 1 - i);
    windows.push_back(window(9, Rect{offset - 300, offset - 200, 700, 500}, i));
  }
  return windows;
}

void expectSameAsEager(const std::vector<WindowInfo>& windows, const Rect& screen,
                       std::mt19937& random) {
  std::vector<std::vector<Rect>> expected = eagerPieces(windows, screen);
  GlobalVisibleIndex index(windows, screen);
  ASSERT_EQ(index.size(), expected.size());
  // Entries are asked for in random order: a memoized entry must not depend
  // on which others were computed before it.
  std::vector<size_t> order(windows.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::shuffle(order.begin(), order.end(), random);
  for (size_t i : order) {
    ASSERT_EQ(index.visible(i), expected[i]) << "entry " << i;
    ASSERT_EQ(index.visible(i), expected[i]) << "entry " << i << " on second use";
  }
}

TEST(GlobalVisibleIndex, LazyPiecesEqualTheFrontToBackAlgorithm) {
  std::mt19937 random(20260308);
  const Rect screen{0, 0, 1000 * 0.5, 800 * 0.5};
  for (int layout = 0; layout < 200; ++layout) {
    SCOPED_TRACE("layout " + std::to_string(layout));
    // Whole points, and the half and quarter points of scaled displays.
    double unit = layout % 3 == 0 ? 5.0 : (layout % 3 == 1 ? 4.5 : 3.25);
    expectSameAsEager(randomLayout(random, 2 + layout % 40, unit), screen, random);
  }
}

TEST(GlobalVisibleIndex, LazyPiecesEqualTheFrontToBackAlgorithmForACascade) {
  std::mt19937 random(7);
  expectSameAsEager(cascade(300), Rect{0, 0, 1512, 982}, random);
}

class FixedScreens : public Screens {
 public:
  explicit FixedScreens(std::optional<Rect> frame) : frame_(frame) {}
  std::optional<Rect> mainScreenFrame() override { return frame_; }

 private:
  std::optional<Rect> frame_;
};

TEST(GetScreenBounds, MainScreenSizeAtTheOriginOrTheDefault) {
  FixedScreens main(Rect{0, 0, 1920, 1080});
  EXPECT_EQ(getScreenBounds(main), (Rect{0, 0, 1920, 1080}));
  FixedScreens offset(Rect{-100, 50, 2560, 1440});
  EXPECT_EQ(getScreenBounds(offset), (Rect{0, 0, 2560, 1440}));
  FixedScreens none(std::nullopt);
  EXPECT_EQ(getScreenBounds(none), (Rect{0, 0, 1512, 982}));
}

}  // namespace
}  // namespace tessary
