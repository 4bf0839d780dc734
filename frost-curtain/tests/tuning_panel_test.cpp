// The tuning panel: its controls and their places, the value texts, and what
// each control does to the curtain.
#include "frost-curtain/tuning_panel.h"

#include <gtest/gtest.h>

#include "frost-curtain/tests/curtain_session.h"

namespace tessary::curtain {
namespace {

using Kind = fake::FakePanelControl::Kind;

struct Panel {
  std::unique_ptr<fake::FakeDesktop> desktop =
      fake::loadSceneOrThrow(R"({"mainScreen": [0, 0, 1440, 900], "screens": [[0, 0, 1440, 900]],
                                 "random": {"seed": 3}})");
  std::ostringstream out, err;
  ProgramContext context{{"--tuning"}, {}, out, err, desktop->platform()};
  std::shared_ptr<AppDelegate> delegate = std::make_shared<AppDelegate>(context);

  Panel() {
    delegate->applyCurrentParameters(false, nullptr);
    delegate->buildTuningPanel(Rect{0, 0, 1440, 900});
  }
  fake::FakeTuningPanel& views() { return desktop->tuningPanel(); }
  const fake::FakePanelControl& find(Kind kind, const std::string& text, int occurrence = 0) {
    for (const fake::FakePanelControl& control : views().controls) {
      if (control.kind == kind && control.text == text && occurrence-- == 0) return control;
    }
    throw std::runtime_error("no control " + text);
  }
  // The slider of a row, found through its title label's line.
  const fake::FakePanelControl& slider(const std::string& title, int occurrence = 0) {
    const double y = find(Kind::label, title, occurrence).frame.y - 4;
    for (const fake::FakePanelControl& control : views().controls) {
      if (control.kind == Kind::slider && control.frame.y == y) return control;
    }
    throw std::runtime_error("no slider " + title);
  }
  const fake::FakePanelControl& valueLabel(const fake::FakePanelControl& slider) {
    for (const fake::FakePanelControl& control : views().controls) {
      if (control.kind == Kind::label && control.rightAligned &&
          control.frame.y == slider.frame.y + 4)
        return control;
    }
    throw std::runtime_error("no value label");
  }
};

TEST(TuningPanel, PanelAndLayoutAtTheWidthItIsMadeWith) {
  Panel panel;
  const TuningPanelConfig& config = *panel.views().config;
  EXPECT_EQ(config.contentRect, (Rect{24, 900 - 760, 620, 720}));
  EXPECT_EQ(config.title, "Frost Curtain Tuner");
  EXPECT_EQ(config.styleMask, 27u);
  EXPECT_EQ(config.level, 25);
  EXPECT_EQ(config.collectionBehavior, 273u);
  EXPECT_FALSE(config.hidesOnDeactivate);
  EXPECT_TRUE(config.floatingPanel);
  EXPECT_FALSE(config.becomesKeyOnlyIfNeeded);
  EXPECT_EQ(panel.views().timesShown, 1);

  EXPECT_EQ(panel.find(Kind::button, "Randomize").frame, (Rect{0, 0, 112, 32}));
  EXPECT_EQ(panel.find(Kind::button, "Copy Params").frame, (Rect{124, 0, 120, 32}));
  EXPECT_EQ(panel.find(Kind::label, "Material").frame, (Rect{16, 66, 100, 20}));

  // Rows of 32 points from y = 100, a 28-point heading before each section.
  const fake::FakePanelControl& height = panel.slider("Height Ratio");
  EXPECT_EQ(height.frame, (Rect{210, 100, 268, 24}));
  EXPECT_EQ(panel.valueLabel(height).frame, (Rect{496, 104, 56, 18}));
  EXPECT_EQ(panel.valueLabel(height).text, "0.526");
  EXPECT_EQ(panel.valueLabel(height).font, PanelFont::monospacedDigit11Medium);
  EXPECT_EQ(panel.find(Kind::label, "Layer Generator").frame, (Rect{16, 232, 240, 20}));
  EXPECT_EQ(panel.find(Kind::label, "Layer Generator").font, PanelFont::boldSystem13);
  EXPECT_EQ(panel.slider("Tallest Layer Height").frame.y, 256);
  EXPECT_EQ(panel.slider("Tallest Side Height", 1).frame.y,
            100 + 4 * 32 + 28 + 4 * 32 + 28 + 4 * 32 + 28);
  const fake::FakePanelControl& layers = panel.slider("Layer Count");
  EXPECT_EQ(layers.tickMarks, 10);
  EXPECT_TRUE(layers.onlyTickMarkValues);
  EXPECT_EQ(panel.valueLabel(layers).text, "8");
  EXPECT_EQ(panel.slider("Curve Exponent").tickMarks, 0);

  // 16 rows and 3 headings.
  EXPECT_EQ(panel.views().documentFrame(), (Rect{0, 0, 600, 100 + 16 * 32 + 3 * 28 + 24}));
  EXPECT_EQ(panel.delegate->sliderBindings.size(), 16u);
  EXPECT_EQ(panel.delegate->valueLabels.size(), 16u);
}

TEST(TuningPanel, NarrowDocumentIsLaidOutAt580) {
  Panel panel;
  panel.views().setDocumentFrame(Rect{0, 0, 300, 1000});
  panel.delegate->rebuildTuningControls();
  const fake::FakePanelControl& height = panel.slider("Height Ratio");
  EXPECT_EQ(height.frame.w, 580 - 32 - 300);
  EXPECT_EQ(panel.valueLabel(height).frame.x, 580 - 32 - 72);
  EXPECT_EQ(panel.views().documentFrame().w, 580);
}

TEST(TuningPanel, MaterialMenuInTableOrder) {
  Panel panel;
  const fake::FakePanelControl* menu = nullptr;
  for (const fake::FakePanelControl& control : panel.views().controls) {
    if (control.kind == Kind::popUp) menu = &control;
  }
  ASSERT_TRUE(menu);
  EXPECT_EQ(menu->items, (std::vector<std::string>{"appearanceBased", "light", "dark",
                                                   "mediumLight", "ultraDark"}));
  EXPECT_EQ(menu->selected, 2);
  EXPECT_EQ(menu->frame, (Rect{130, 60, 438, 28}));
  panel.views().choose(menu->id, 3);
  EXPECT_EQ(panel.delegate->parameters.materialName, "mediumLight");
  EXPECT_EQ(panel.desktop->compositor().windows()[0].material, 8);
}

TEST(TuningPanel, LayerCountSnapsToWholeBands) {
  Panel panel;
  const fake::FakePanelControl& layers = panel.slider("Layer Count");
  panel.views().dragSlider(layers.id, 6.7);
  EXPECT_EQ(panel.delegate->parameters.layerCount, 7);
  EXPECT_EQ(panel.valueLabel(layers).text, "7");
  EXPECT_EQ(panel.delegate->blurLayers.size(), 7u);
}

TEST(TuningPanel, LabelShowsTheSanitizedValueWhileTheSliderKeepsItsPlace) {
  Panel panel;
  panel.views().dragSlider(panel.slider("Tallest Side Height").id, 0.3);
  const fake::FakePanelControl& droop = panel.slider("Tallest Center Droop");
  panel.views().dragSlider(droop.id, 0.45);
  EXPECT_DOUBLE_EQ(panel.delegate->parameters.tallestZeroOpacityDroop, 0.25);
  EXPECT_EQ(panel.valueLabel(droop).text, "0.250");
  EXPECT_EQ(droop.value, 0.45);
}

TEST(TuningPanel, RandomizeRollsWithinRangeAndRebuilds) {
  Panel panel;
  panel.delegate->parameters.materialName = "light";
  const double before = panel.delegate->parameters.heightRatio;
  panel.views().click(panel.find(Kind::button, "Randomize").id);
  const PreviewParameters& now = panel.delegate->parameters;
  EXPECT_NE(now, PreviewParameters{});
  EXPECT_GE(now.heightRatio, before - 0.05);
  EXPECT_LE(now.heightRatio, before + 0.08);
  EXPECT_EQ(now.materialName, "light");
  EXPECT_EQ(panel.valueLabel(panel.slider("Height Ratio")).text,
            formattedValue(now.heightRatio, false));
  EXPECT_EQ(panel.slider("Opacity Exponent").value, now.opacityExponent);
  EXPECT_EQ(panel.delegate->blurLayers.size(), static_cast<size_t>(now.layerCount));
}

TEST(TuningPanel, CopyParamsIsTheCopyCommand) {
  Panel panel;
  panel.views().click(panel.find(Kind::button, "Copy Params").id);
  EXPECT_EQ(panel.out.str(), "copied\n");
  EXPECT_EQ(panel.desktop->pasteboard().plainString, parametersJson(panel.delegate->parameters));
}

TEST(TuningPanel, FormattedValues) {
  struct Case {
    double value;
    bool whole;
    const char* text;
  } cases[] = {{7, true, "7"},
               {6.5, true, "7"},
               {-2.5, true, "-3"},
               {0.25, false, "0.250"},
               {0.0005, false, "0.001"},
               {1.8, false, "1.800"},
               {-0.0001, false, "-0.000"}};
  for (const Case& c : cases)
    EXPECT_EQ(formattedValue(c.value, c.whole), c.text) << c.value;
}

}  // namespace
}  // namespace tessary::curtain
