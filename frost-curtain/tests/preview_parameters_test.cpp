// The curtain's parameters: sanitizing, band specs, geometry, the screen
// choice, random sets and the JSON form.
#include "frost-curtain/preview_parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "frost-curtain/command_protocol.h"
#include "frost-curtain/tests/scripted_random.h"

namespace tessary::curtain {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Sanitize, DefaultsAreAlreadySane) {
  EXPECT_EQ(sanitize(PreviewParameters{}), PreviewParameters{});
}

TEST(Sanitize, ClampsEveryFieldInItsStepOrder) {
  PreviewParameters p;
  p.layerCount = 0;
  p.materialName = "Dark";  // names are case-sensitive
  p.heightRatio = 3;
  p.opacityExponent = 0.1;
  p.curveExponent = 9;
  p.tallestHeightMultiplier = 0.3;  // swapped with the shortest below
  p.shortestHeightMultiplier = 1.2;
  p.tallestAlpha = -1;
  p.shortestAlpha = 2;
  p.tallestZeroOpacitySide = 0.3;
  p.shortestZeroOpacitySide = 1.5;
  p.tallestZeroOpacityDroop = 0.45;  // at most its side - 0.05
  p.shortestZeroOpacityDroop = -0.2;
  p.tallestFullOpacitySide = 0.9;  // at most its zero side - 0.05
  p.shortestFullOpacitySide = 0.5;
  p.tallestFullOpacityDroop = 0.9;  // at most its full side, after that was clamped
  p.shortestFullOpacityDroop = 0.1;

  PreviewParameters s = sanitize(p);
  EXPECT_EQ(s.layerCount, 1);
  EXPECT_EQ(s.materialName, "dark");
  EXPECT_EQ(s.heightRatio, 1.8);
  EXPECT_EQ(s.opacityExponent, 0.2);
  EXPECT_EQ(s.curveExponent, 3.0);
  EXPECT_EQ(s.tallestHeightMultiplier, 1.2);
  EXPECT_EQ(s.shortestHeightMultiplier, 0.3);
  EXPECT_EQ(s.tallestAlpha, 0);
  EXPECT_EQ(s.shortestAlpha, 1);
  EXPECT_EQ(s.tallestZeroOpacitySide, 0.3);
  EXPECT_EQ(s.shortestZeroOpacitySide, 0.995);
  EXPECT_EQ(s.tallestZeroOpacityDroop, 0.3 - 0.05);
  EXPECT_EQ(s.shortestZeroOpacityDroop, 0);
  EXPECT_EQ(s.tallestFullOpacitySide, 0.3 - 0.05);
  EXPECT_EQ(s.shortestFullOpacitySide, 0.5);
  EXPECT_EQ(s.tallestFullOpacityDroop, 0.3 - 0.05);
  EXPECT_EQ(s.shortestFullOpacityDroop, 0.1);
  EXPECT_EQ(sanitize(s), s);

  p.layerCount = 11;
  EXPECT_EQ(sanitize(p).layerCount, 10);
  p.layerCount = std::numeric_limits<int64_t>::min();
  EXPECT_EQ(sanitize(p).layerCount, 1);
}

TEST(Sanitize, KeepsEveryTableMaterial) {
  for (const MaterialSpec& material : kMaterials) {
    PreviewParameters p;
    p.materialName = material.name;
    EXPECT_EQ(sanitize(p).materialName, material.name);
  }
  EXPECT_EQ(materialValue("ultraDark"), 9);
  EXPECT_EQ(materialValue("mediumLight"), 8);
  EXPECT_EQ(materialValue("appearanceBased"), 0);
  EXPECT_EQ(materialValue("nope"), 2);
}

TEST(BandSpecs, OneBandTakesTheTallestValues) {
  PreviewParameters p;
  p.layerCount = 1;
  std::vector<BlurLayerSpec> specs = bandSpecs(sanitize(p));
  ASSERT_EQ(specs.size(), 1u);
  EXPECT_EQ(specs[0].heightMultiplier, p.tallestHeightMultiplier);
  EXPECT_EQ(specs[0].targetAlpha, p.tallestAlpha);
  EXPECT_EQ(specs[0].zeroOpacitySide, p.tallestZeroOpacitySide);
  EXPECT_EQ(specs[0].zeroOpacityDroop, p.tallestZeroOpacityDroop);
  EXPECT_EQ(specs[0].fullOpacitySide, p.tallestFullOpacitySide);
  EXPECT_EQ(specs[0].fullOpacityDroop, p.tallestFullOpacityDroop);
}

TEST(BandSpecs, TwoBandsAreExactlyTallestAndShortest) {
  PreviewParameters p;
  p.layerCount = 2;
  std::vector<BlurLayerSpec> specs = bandSpecs(sanitize(p));
  ASSERT_EQ(specs.size(), 2u);
  EXPECT_EQ(specs[0].heightMultiplier, p.tallestHeightMultiplier);
  EXPECT_DOUBLE_EQ(specs[1].heightMultiplier, p.shortestHeightMultiplier);
  EXPECT_DOUBLE_EQ(specs[1].targetAlpha, p.shortestAlpha);
  EXPECT_DOUBLE_EQ(specs[1].zeroOpacitySide, p.shortestZeroOpacitySide);
  EXPECT_DOUBLE_EQ(specs[1].zeroOpacityDroop, p.shortestZeroOpacityDroop);
  EXPECT_DOUBLE_EQ(specs[1].fullOpacitySide, p.shortestFullOpacitySide);
  EXPECT_DOUBLE_EQ(specs[1].fullOpacityDroop, p.shortestFullOpacityDroop);
}

TEST(BandSpecs, TenBandsInterpolateInNinths) {
  PreviewParameters p;
  p.layerCount = 10;
  p.tallestAlpha = 0.1;
  p.shortestAlpha = 1.0;
  p.tallestHeightMultiplier = 1.0;
  p.shortestHeightMultiplier = 0.1;
  std::vector<BlurLayerSpec> specs = bandSpecs(sanitize(p));
  ASSERT_EQ(specs.size(), 10u);
  for (size_t j = 0; j < specs.size(); ++j) {
    const double t = static_cast<double>(j) / 9;
    EXPECT_DOUBLE_EQ(specs[j].targetAlpha, 0.1 + 0.9 * t) << j;
    EXPECT_DOUBLE_EQ(specs[j].heightMultiplier, 1.0 - 0.9 * t) << j;
  }
  EXPECT_EQ(specs[9].targetAlpha, 1.0);
}

TEST(BandSpecs, FullDroopKeepsTheCentreLinesApart) {
  PreviewParameters p;
  p.layerCount = 1;
  p.tallestZeroOpacitySide = 0.5;
  p.tallestZeroOpacityDroop = 0.4;
  p.tallestFullOpacitySide = 0.3;
  p.tallestFullOpacityDroop = 0.1;
  std::vector<BlurLayerSpec> specs = bandSpecs(sanitize(p));
  ASSERT_EQ(specs.size(), 1u);
  EXPECT_DOUBLE_EQ(specs[0].fullOpacityDroop, 0.25);
  // The 100 % line at the centre sits 0.05 below the 0 % line there (0.1).
  EXPECT_NEAR(specs[0].fullOpacitySide - specs[0].fullOpacityDroop, 0.05, 1e-12);
}

TEST(BandSpecs, SwappedMultipliersMakeTheFirstBandTheTaller) {
  PreviewParameters p;
  p.layerCount = 3;
  p.tallestHeightMultiplier = 0.3;
  p.shortestHeightMultiplier = 1.2;
  std::vector<BlurLayerSpec> specs = bandSpecs(sanitize(p));
  EXPECT_EQ(specs.front().heightMultiplier, 1.2);
  EXPECT_DOUBLE_EQ(specs.back().heightMultiplier, 0.3);
}

TEST(BandGeometry, TargetFrameSitsOnTheScreensBottomEdge) {
  const Rect screen{-1440, 100, 1440, 900};
  BlurLayerSpec spec;
  spec.heightMultiplier = 0.5;
  EXPECT_EQ(targetFrame(screen, 0.4, spec), (Rect{-1440, 100, 1440, 180}));
  spec.heightMultiplier = 0.08;
  EXPECT_EQ(targetFrame(Rect{0, 0, 100, 10}, 0.05, spec).h, 1);  // at least one point
}

TEST(BandGeometry, ParkedOffsetIsASixthClampedTo26And96) {
  struct Case {
    double height, offset;
  } cases[] = {{100, 26}, {1000, 96}, {300, 48}, {162.5, 26}, {600, 96}, {1, 26}};
  for (const Case& c : cases) {
    const Rect frame{10, 20, 500, c.height};
    EXPECT_EQ(parkedFrame(frame), (Rect{10, 20 - c.offset, 500, c.height})) << c.height;
  }
}

class FixedScreens : public Screens {
 public:
  std::optional<Rect> main;
  std::vector<Rect> frames;
  Point pointer;
  std::optional<Rect> mainScreenFrame() override { return main; }
  std::vector<Rect> screenFrames() override { return frames; }
  Point mouseLocation() override { return pointer; }
};

TEST(ScreenUnderCursor, PointerScreenElseMainElseFirst) {
  const Rect left{0, 0, 1000, 800}, right{1000, 0, 1000, 800};
  FixedScreens screens;
  screens.frames = {left, right};
  screens.main = left;
  screens.pointer = {1500, 400};
  EXPECT_EQ(screenUnderCursor(screens), right);
  // Not flipped: the bottom edge lies outside a screen, the top edge inside.
  screens.pointer = {1500, 0};
  EXPECT_EQ(screenUnderCursor(screens), left);  // the main screen
  screens.pointer = {1500, 800};
  EXPECT_EQ(screenUnderCursor(screens), right);
  screens.pointer = {1000, 400};  // the left edge belongs to the right screen
  EXPECT_EQ(screenUnderCursor(screens), right);
  screens.pointer = {5000, 5000};
  screens.main.reset();
  screens.frames = {right, left};
  EXPECT_EQ(screenUnderCursor(screens), right);
  screens.frames.clear();
  EXPECT_EQ(screenUnderCursor(screens), std::nullopt);
}

TEST(RandomParameters, DrawsEveryFieldFromItsClosedInterval) {
  ScriptedRandom lowest({0.0});
  PreviewParameters low = randomParameters(lowest, 0.5, "ultraDark");
  EXPECT_EQ(lowest.draws, 16);
  EXPECT_DOUBLE_EQ(low.heightRatio, 0.45);
  EXPECT_EQ(low.layerCount, 1);
  EXPECT_EQ(low.opacityExponent, 0.9);
  EXPECT_EQ(low.curveExponent, 0.8);
  EXPECT_EQ(low.materialName, "ultraDark");
  EXPECT_EQ(low.tallestHeightMultiplier, 1.05);
  EXPECT_EQ(low.shortestAlpha, 0.65);
  EXPECT_EQ(low.shortestFullOpacityDroop, 0.01);

  ScriptedRandom highest({1.0});
  PreviewParameters high = randomParameters(highest, 0.5, "light");
  EXPECT_DOUBLE_EQ(high.heightRatio, 0.58);
  EXPECT_EQ(high.layerCount, 10);
  EXPECT_EQ(high.opacityExponent, 2.2);
  EXPECT_EQ(high.curveExponent, 1.8);
  EXPECT_EQ(high.tallestHeightMultiplier, 1.6);
  EXPECT_EQ(high.shortestAlpha, 1.0);
  EXPECT_EQ(high.tallestZeroOpacitySide, 0.96);
  EXPECT_EQ(high.tallestFullOpacityDroop, 0.12);
  EXPECT_EQ(sanitize(high), high);

  // The height ratio stays within [0.08, 1.5] whatever the base.
  ScriptedRandom again({1.0});
  EXPECT_EQ(randomParameters(again, 1.7, "dark").heightRatio, 1.5);
  ScriptedRandom none({0.0});
  EXPECT_EQ(randomParameters(none, 0.05, "dark").heightRatio, 0.08);
}

TEST(RandomParameters, UnknownMaterialIsSanitizedToDark) {
  ScriptedRandom random({0.5});
  EXPECT_EQ(randomParameters(random, 0.5, "neon").materialName, "dark");
}

TEST(ParametersJson, SeventeenSortedKeysWithExactValues) {
  PreviewParameters p;
  p.heightRatio = 0.1 + 0.2;  // not a short decimal
  std::optional<std::string> text = parametersJson(p);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(0, 2), "{\n");
  nlohmann::ordered_json parsed = nlohmann::ordered_json::parse(*text);
  std::vector<std::string> keys;
  for (const auto& [key, value] : parsed.items())
    keys.push_back(key);
  EXPECT_EQ(keys,
            (std::vector<std::string>{
                "curveExponent", "heightRatio", "layerCount", "materialName", "opacityExponent",
                "shortestAlpha", "shortestFullOpacityDroop", "shortestFullOpacitySide",
                "shortestHeightMultiplier", "shortestZeroOpacityDroop", "shortestZeroOpacitySide",
                "tallestAlpha", "tallestFullOpacityDroop", "tallestFullOpacitySide",
                "tallestHeightMultiplier", "tallestZeroOpacityDroop", "tallestZeroOpacitySide"}));
  EXPECT_EQ(parsed["heightRatio"].get<double>(), 0.1 + 0.2);
  EXPECT_TRUE(parsed["layerCount"].is_number_integer());
  EXPECT_EQ(parsed["layerCount"], 8);
  EXPECT_EQ(parsed["materialName"], "dark");
  EXPECT_EQ(parsed["shortestFullOpacityDroop"].get<double>(), 0.02625202571267625);

  p.curveExponent = kNaN;
  EXPECT_EQ(parametersJson(p), std::nullopt);
}

TEST(HeightRatioArgument, FirstNumericArgumentClamped) {
  struct Case {
    std::vector<std::string> arguments;
    std::optional<double> ratio;
  } cases[] = {
      {{"0.3", "--tuning"}, 0.3},
      {{"--tuning", "0.3"}, 0.3},
      {{"5"}, 1.8},
      {{"-5"}, 0.05},
      {{"0x1p-2"}, 0.25},
      {{"1e-1"}, 0.1},
      {{"inf"}, 1.8},
      {{"-Infinity"}, 0.05},
      {{"nan"}, kDefaultHeightRatio},
      {{"ratio0.3", "0.3x", " 0.3", "0.3 ", ""}, std::nullopt},
      {{"x", "0.7", "0.2"}, 0.7},
      {{"--tuning"}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const Case& c : cases) {
    std::string name;
    for (const std::string& a : c.arguments)
      name += "[" + a + "]";
    EXPECT_EQ(parseHeightRatio(c.arguments), c.ratio) << name;
  }
  EXPECT_TRUE(wantsTuning({"0.3", "--tuning"}));
  EXPECT_FALSE(wantsTuning({"--Tuning", "--tuning=1", "tuning"}));
  EXPECT_EQ(clampValue(kInf, 0, 1), 1);
  EXPECT_EQ(clampValue(kNaN, 0.2, 1), 0.2);
}

}  // namespace
}  // namespace tessary::curtain
