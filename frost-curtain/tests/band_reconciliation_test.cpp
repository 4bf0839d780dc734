// applyCurrentParameters on its own: bands created, dropped and updated as
// the parameters and the screen change, and what each change re-renders.
#include <gtest/gtest.h>

#include <cmath>

#include "frost-curtain/tests/curtain_session.h"

namespace tessary::curtain {
namespace {

using fake::FakeBandWindow;

// The simulated screens, with a pointer the test moves.
class MovableScreens : public Screens {
 public:
  std::vector<Rect> frames{{0, 0, 1000, 800}, {1000, 0, 1200, 900}};
  Point pointer{500, 400};
  std::optional<Rect> mainScreenFrame() override {
    return frames.empty() ? std::nullopt : std::optional<Rect>(frames.front());
  }
  std::vector<Rect> screenFrames() override { return frames; }
  Point mouseLocation() override { return pointer; }
};

struct Curtain {
  std::unique_ptr<fake::FakeDesktop> desktop = fake::loadSceneOrThrow("{}");
  MovableScreens screens;
  Platform platform = desktop->platform();
  Platform withScreens{platform.accessibility,    platform.windowServer, screens,
                       platform.workspace,        platform.clock,        platform.hostWindows,
                       platform.speechRecognizer, platform.inputState,   platform.application,
                       platform.compositor,       platform.pasteboard,   platform.random,
                       platform.tuningPanel};
  std::ostringstream out, err;
  ProgramContext context{{}, {}, out, err, withScreens};
  std::shared_ptr<AppDelegate> delegate = std::make_shared<AppDelegate>(context);

  const fake::FakeCompositor& compositor() { return desktop->compositor(); }
  std::vector<const FakeBandWindow*> live() {
    std::vector<const FakeBandWindow*> bands;
    for (const FakeBandWindow& band : compositor().windows()) {
      if (!band.released) bands.push_back(&band);
    }
    return bands;
  }
  int masks() {
    int total = 0;
    for (const FakeBandWindow& band : compositor().windows())
      total += band.maskInstalls;
    return total;
  }
};

TEST(BandReconciliation, FewerBandsOrderOutAndCloseTheLastOnes) {
  Curtain curtain;
  curtain.delegate->parameters.layerCount = 10;
  curtain.delegate->isBlurVisible = true;
  curtain.delegate->applyCurrentParameters(false, nullptr);
  ASSERT_EQ(curtain.live().size(), 10u);
  curtain.desktop->clearCalls();

  curtain.delegate->parameters.layerCount = 3;
  curtain.delegate->applyCurrentParameters(false, nullptr);
  EXPECT_EQ(curtain.delegate->blurLayers.size(), 3u);
  std::vector<std::string> drops =
      callsOf(*curtain.desktop, {"orderOut", "closeWindow", "releaseWindow"});
  std::vector<std::string> expected;
  for (int band = 10; band >= 4; --band) {
    for (const char* operation : {"orderOut", "closeWindow", "releaseWindow"})
      expected.push_back(std::string(operation) + " band" + std::to_string(band) + " ");
  }
  EXPECT_EQ(drops, expected);
  ASSERT_EQ(curtain.live().size(), 3u);
  for (const FakeBandWindow* band : curtain.live())
    EXPECT_TRUE(band->visible);

  // More again: new bands at the new indices, parked and invisible until shown.
  curtain.delegate->isBlurVisible = false;
  curtain.delegate->parameters.layerCount = 5;
  curtain.delegate->applyCurrentParameters(false, nullptr);
  ASSERT_EQ(curtain.live().size(), 5u);
  const std::vector<BlurLayerSpec> specs = bandSpecs(curtain.delegate->parameters);
  for (size_t k = 3; k < 5; ++k) {
    const FakeBandWindow& band = *curtain.live()[k];
    EXPECT_FALSE(band.visible);
    EXPECT_EQ(band.alpha, 0);
    EXPECT_EQ(band.frame,
              parkedFrame(targetFrame(Rect{0, 0, 1000, 800},
                                      curtain.delegate->parameters.heightRatio, specs[k])));
  }
}

TEST(BandReconciliation, WhatEachChangeRenders) {
  Curtain curtain;
  curtain.delegate->applyCurrentParameters(false, nullptr);
  // Each new band renders its mask at creation and again for the current
  // exponents.
  EXPECT_EQ(curtain.masks(), 16);

  struct Step {
    const char* name;
    void (*change)(PreviewParameters&);
    int masks;
    int materialSets;
    int frameSets;
  } steps[] = {
      {"nothing", [](PreviewParameters&) {}, 0, 0, 0},
      {"material only", [](PreviewParameters& p) { p.materialName = "ultraDark"; }, 0, 8, 0},
      {"unknown material is dark", [](PreviewParameters& p) { p.materialName = "x"; }, 0, 8, 0},
      {"opacity exponent", [](PreviewParameters& p) { p.opacityExponent = 2.5; }, 8, 0, 0},
      {"shortest alpha: the band specs of all but the first",
       [](PreviewParameters& p) { p.shortestAlpha = 0.9; }, 7, 0, 0},
      {"height ratio: every frame", [](PreviewParameters& p) { p.heightRatio = 0.4; }, 8, 0, 8},
  };
  for (const Step& step : steps) {
    curtain.desktop->clearCalls();
    const int before = curtain.masks();
    step.change(curtain.delegate->parameters);
    curtain.delegate->applyCurrentParameters(false, nullptr);
    EXPECT_EQ(curtain.masks() - before, step.masks) << step.name;
    EXPECT_EQ(callsOf(*curtain.desktop, {"setViewMaterial"}).size(),
              static_cast<size_t>(step.materialSets))
        << step.name;
    EXPECT_EQ(callsOf(*curtain.desktop, {"setWindowFrame"}).size(),
              static_cast<size_t>(step.frameSets))
        << step.name;
  }
  EXPECT_EQ(curtain.compositor().windows()[0].material, 2);
}

TEST(BandReconciliation, ShowingOnAnotherScreenMovesEveryBand) {
  Curtain curtain;
  curtain.delegate->isBlurVisible = true;
  curtain.delegate->applyCurrentParameters(false, nullptr);
  curtain.screens.pointer = {1500, 450};
  curtain.delegate->applyCurrentParameters(true, nullptr);
  const std::vector<BlurLayerSpec> specs = bandSpecs(curtain.delegate->parameters);
  const Rect second{1000, 0, 1200, 900};
  for (size_t k = 0; k < 8; ++k) {
    const FakeBandWindow& band = curtain.compositor().windows()[k];
    const Rect target = targetFrame(second, kDefaultHeightRatio, specs[k]);
    EXPECT_EQ(band.frame, target) << k;
    EXPECT_EQ(band.viewFrame, (Rect{0, 0, 1200, target.h}));
    EXPECT_EQ(band.mask->image.width, 1200);
  }
}

TEST(BandReconciliation, NoScreenTouchesNothingAndCompletesAtOnce) {
  Curtain curtain;
  curtain.screens.frames.clear();
  curtain.delegate->parameters.layerCount = 99;
  int completions = 0;
  curtain.delegate->applyCurrentParameters(true, [&] { ++completions; });
  EXPECT_EQ(completions, 1);
  EXPECT_TRUE(curtain.compositor().windows().empty());
  EXPECT_EQ(curtain.delegate->parameters.layerCount, 99);  // not even sanitized
}

TEST(BandReconciliation, MaskFollowsTheBackingScale) {
  auto desktop = fake::loadSceneOrThrow(
      R"({"mainScreen": [0, 0, 1728, 1117], "compositor": {"backingScaleFactor": 2}})");
  std::ostringstream out, err;
  ProgramContext context{{}, {}, out, err, desktop->platform()};
  auto delegate = std::make_shared<AppDelegate>(context);
  delegate->applyCurrentParameters(false, nullptr);
  const fake::FakeBandWindow& tallest = desktop->compositor().windows()[0];
  ASSERT_TRUE(tallest.mask);
  EXPECT_EQ(tallest.mask->contentsScale, 2);
  EXPECT_EQ(tallest.mask->image.width, 3456);
  EXPECT_EQ(tallest.mask->image.height, static_cast<int64_t>(std::ceil(tallest.viewFrame.h * 2)));
}

}  // namespace
}  // namespace tessary::curtain
