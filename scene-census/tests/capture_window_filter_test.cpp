// Which window-server entries count, and the records made from them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "scene-census/capture/window_list.h"

namespace tessary {
namespace {

PlistDict boundsDict(double x, double y, double w, double h) {
  return PlistDict{{"X", x}, {"Y", y}, {"Width", w}, {"Height", h}};
}

// An ordinary document window of pid 42; each case changes one key.
PlistDict documentWindow() {
  return PlistDict{{"kCGWindowLayer", 0},     {"kCGWindowOwnerName", "Notes"},
                   {"kCGWindowOwnerPID", 42}, {"kCGWindowName", "Groceries"},
                   {"kCGWindowAlpha", 1.0},   {"kCGWindowBounds", boundsDict(10, 20, 800, 600)}};
}

PlistDict with(std::string key, PlistValue value) {
  PlistDict dict = documentWindow();
  dict[key] = std::move(value);
  return dict;
}

PlistDict without(const std::string& key) {
  PlistDict dict = documentWindow();
  dict.erase(key);
  return dict;
}

struct FilterCase {
  std::string label;
  PlistDict window;
  bool formTests;
  bool expected;
};

class ShouldIncludeWindow : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ShouldIncludeWindow, AppliesEveryRule) {
  const FilterCase& c = GetParam();
  std::set<int32_t> excluded{7};
  EXPECT_EQ(shouldIncludeWindow(PlistValue(c.window), excluded, c.formTests), c.expected);
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Table, ShouldIncludeWindow,
    ::testing::Values(
        FilterCase{"plainDocument", documentWindow(), false, true},
        // Layers: above 10 never counts; a layer of the wrong type is missing.
        FilterCase{"layer10", with("kCGWindowLayer", 10), false, true},
        FilterCase{"layer11", with("kCGWindowLayer", 11), false, false},
        FilterCase{"layer25AsWholeReal", with("kCGWindowLayer", 25.0), false, false},
        FilterCase{"layerFractionalIsNotInteger", with("kCGWindowLayer", 11.5), false, true},
        FilterCase{"negativeLayer", with("kCGWindowLayer", -20), false, true},
        FilterCase{"layerMissing", without("kCGWindowLayer"), false, true},
        FilterCase{"layerAsText", with("kCGWindowLayer", "25"), false, true},
        // Owners.
        FilterCase{"ownerMissing", without("kCGWindowOwnerName"), false, false},
        FilterCase{"ownerBlank", with("kCGWindowOwnerName", " \t "), false, false},
        FilterCase{"ownerAsNumber", with("kCGWindowOwnerName", 5), false, false},
        FilterCase{"dockWithSpaces", with("kCGWindowOwnerName", "  Dock\t"), false, false},
        FilterCase{"dockLowerCase", with("kCGWindowOwnerName", "dock"), false, true},
        FilterCase{"windowServer", with("kCGWindowOwnerName", "Window Server"), false, false},
        FilterCase{"controlCenter", with("kCGWindowOwnerName", "Control Center"), false, false},
        FilterCase{"notificationCenter", with("kCGWindowOwnerName", "Notification Center"), false,
                   false},
        FilterCase{"loginwindow", with("kCGWindowOwnerName", "loginwindow"), false, false},
        FilterCase{"spotlight", with("kCGWindowOwnerName", "Spotlight"), false, false},
        FilterCase{"screensaver", with("kCGWindowOwnerName", "ScreensaverEngine"), false, false},
        FilterCase{"curtainAnyCase", with("kCGWindowOwnerName", " Frost-CURTAIN "), false, false},
        FilterCase{"curtainPrefixOnly", with("kCGWindowOwnerName", "frost-curtain2"), false, true},
        // Owner ids.
        FilterCase{"pidMissing", without("kCGWindowOwnerPID"), false, false},
        FilterCase{"pidExcluded", with("kCGWindowOwnerPID", 7), false, false},
        FilterCase{"pidAsText", with("kCGWindowOwnerPID", "42"), false, false},
        FilterCase{"pidBeyond32Bits", with("kCGWindowOwnerPID", int64_t{1} << 40), false, false},
        // The suite's own windows, whole names only, spaces and tabs trimmed.
        FilterCase{"tessary", with("kCGWindowName", "Tessary"), false, false},
        FilterCase{"tessaryNextPadded", with("kCGWindowName", "\tTessary Next "), false, false},
        FilterCase{"overlay", with("kCGWindowName", "Overlay"), false, false},
        FilterCase{"overlayLowerCase", with("kCGWindowName", "overlay"), false, true},
        FilterCase{"tessaryPrefixOnly", with("kCGWindowName", "Tessary Notes"), false, true},
        FilterCase{"tessaryWithLineBreak", with("kCGWindowName", "Tessary\n"), false, true},
        FilterCase{"backgroundNormally", with("kCGWindowName", "Background"), false, true},
        FilterCase{"backgroundInFormTests", with("kCGWindowName", " Background "), true, false},
        FilterCase{"otherNameInFormTests", documentWindow(), true, true},
        // Alpha.
        FilterCase{"alphaNearlyZero", with("kCGWindowAlpha", 0.005), false, false},
        FilterCase{"alphaThreshold", with("kCGWindowAlpha", 0.01), false, true},
        FilterCase{"alphaZeroInteger", with("kCGWindowAlpha", 0), false, false},
        FilterCase{"alphaMissing", without("kCGWindowAlpha"), false, true},
        FilterCase{"alphaAsText", with("kCGWindowAlpha", "0"), false, true},
        // Bounds.
        FilterCase{"boundsMissing", without("kCGWindowBounds"), false, false},
        FilterCase{"boundsNotAMap", with("kCGWindowBounds", PlistArray{1, 2, 3, 4}), false, false},
        FilterCase{"boundsWithTextMember",
                   with("kCGWindowBounds",
                        PlistDict{{"X", 0}, {"Y", 0}, {"Width", "800"}, {"Height", 600}}),
                   false, false},
        FilterCase{"boundsWithBooleanMember",
                   with("kCGWindowBounds",
                        PlistDict{{"X", true}, {"Y", 0}, {"Width", 800}, {"Height", 600}}),
                   false, false},
        FilterCase{
            "boundsIntegers",
            with("kCGWindowBounds", PlistDict{{"X", 0}, {"Y", 0}, {"Width", 800}, {"Height", 600}}),
            false, true},
        FilterCase{"xAndYMissing",
                   with("kCGWindowBounds", PlistDict{{"Width", 800.0}, {"Height", 600.0}}), false,
                   true},
        FilterCase{"zeroWidth", with("kCGWindowBounds", boundsDict(0, 0, 0, 600)), false, false},
        FilterCase{"negativeHeight", with("kCGWindowBounds", boundsDict(0, 0, 800, -1)), false,
                   false},
        FilterCase{"infiniteX", with("kCGWindowBounds", boundsDict(kInf, 0, 800, 600)), false,
                   false},
        FilterCase{"nanWidth", with("kCGWindowBounds", boundsDict(0, 0, kNaN, 600)), false, false},
        FilterCase{"negativeOrigin", with("kCGWindowBounds", boundsDict(-500, -30, 800, 600)),
                   false, true}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return info.param.label; });

TEST(WindowInfoFromDictionary, KeepsNamesUntrimmedAndDefaultsMissingKeys) {
  PlistDict window{{"kCGWindowOwnerName", " Notes "},
                   {"kCGWindowOwnerPID", 42},
                   {"kCGWindowName", "\tGroceries"},
                   {"kCGWindowBounds", PlistDict{{"Width", 300}, {"Height", 200.5}}}};
  std::optional<WindowInfo> info = windowInfoFromDictionary(PlistValue(window), 3);
  ASSERT_TRUE(info);
  EXPECT_EQ(*info, (WindowInfo{42, Rect{0, 0, 300, 200.5}, " Notes ", "\tGroceries", 0, 3}));

  window.erase("kCGWindowOwnerName");
  window.erase("kCGWindowName");
  window["kCGWindowLayer"] = 3;
  info = windowInfoFromDictionary(PlistValue(window), 0);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->owner, "");
  EXPECT_EQ(info->name, "");
  EXPECT_EQ(info->layer, 3);
}

TEST(WindowInfoFromDictionary, NeedsOwnerIdAndNumericBounds) {
  EXPECT_FALSE(windowInfoFromDictionary(PlistValue(without("kCGWindowOwnerPID")), 0));
  EXPECT_FALSE(windowInfoFromDictionary(PlistValue(without("kCGWindowBounds")), 0));
  EXPECT_FALSE(windowInfoFromDictionary(
      PlistValue(with("kCGWindowBounds", PlistDict{{"X", "0"}, {"Width", 1}, {"Height", 1}})), 0));
  // The filter's own rules (layer, size) are not this function's business.
  EXPECT_TRUE(
      windowInfoFromDictionary(PlistValue(with("kCGWindowBounds", boundsDict(0, 0, 0, 0))), 0));
}

TEST(WindowOrder, HigherLayerFirstThenFrontToBackStable) {
  std::vector<WindowInfo> windows{{1, {}, "a", "", 0, 0},  {2, {}, "b", "", 3, 5},
                                  {3, {}, "c", "", 0, 1},  {4, {}, "d", "", 3, 2},
                                  {5, {}, "e", "", -1, 0}, {6, {}, "f", "", 0, 1}};
  sortInWindowOrder(windows);
  std::string owners;
  for (const WindowInfo& w : windows)
    owners += w.owner;
  EXPECT_EQ(owners, "dbacfe");
}

}  // namespace
}  // namespace tessary
