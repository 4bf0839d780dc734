// Element at a position: across applications in window order from the
// system-wide element, within one application from its element.
#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/tests/answer_text.h"

namespace tessary::fake {
namespace {

using testing::answerText;

// Front to back: the host's overlay strip along the top, a click-through
// curtain and a fully transparent window over everything, the Dock (no
// accessibility here), the browser, Notes behind it, and two small windows of
// applications that fail.
constexpr const char* kDesk = R"({
  "applications": [
    {"pid": 900, "name": "Tessary", "element": {"windows": [{"id": "overlayWin", "frame": [0, 0, 1512, 120]}]}},
    {"pid": 700, "element": {"windows": [{"id": "curtainWin", "frame": [0, 0, 1512, 982]}]}},
    {"pid": 701, "element": {"windows": [{"id": "clearWin", "frame": [0, 0, 1512, 982]}]}},
    {"pid": 501, "element": {"windows": [{"id": "browser", "role": "AXWindow", "frame": [100, 100, 800, 600], "children": [
      {"id": "button", "role": "AXButton", "frame": [120, 450, 100, 30],
       "children": [{"id": "label", "role": "AXStaticText", "frame": [130, 455, 60, 20]}]},
      {"id": "deco", "hitTestable": false, "frame": [300, 450, 100, 30],
       "children": [{"id": "decoIcon", "frame": [310, 455, 10, 10]}]},
      {"id": "back", "frame": [500, 450, 100, 100]},
      {"id": "front", "frame": [550, 500, 100, 100]},
      {"id": "group", "children": [{"id": "inGroup", "frame": [700, 450, 50, 50]}]},
      {"id": "clipped", "frame": [120, 600, 50, 50], "children": [{"id": "outside", "frame": [400, 650, 20, 20]}]},
      {"id": "cycler", "frame": [120, 650, 50, 30], "children": [{"ref": "browser"}]}]}]}},
    {"pid": 502, "element": {"windows": [
      {"id": "notesPanel", "frame": [60, 600, 30, 30]},
      {"id": "notes", "frame": [50, 50, 400, 800], "children": [{"id": "notesButton", "frame": [60, 500, 50, 50]}]}]}},
    {"pid": 503, "elementAtPositionError": -25200, "element": {"windows": [{"id": "failing", "frame": [1000, 150, 200, 100]}]}},
    {"pid": 504, "freezeAfterCalls": 0, "element": {"windows": [{"id": "frozen", "frame": [1000, 750, 200, 100]}]}}],
  "windowList": [
    {"owner": "Tessary", "pid": 900, "bounds": [0, 0, 1512, 120]},
    {"owner": "Curtain", "pid": 700, "bounds": [0, 0, 1512, 982], "clickThrough": true},
    {"owner": "Clear", "pid": 701, "bounds": [0, 0, 1512, 982], "alpha": 0},
    {"owner": "Dock", "pid": 600, "layer": 20, "bounds": [0, 900, 1512, 82]},
    {"owner": "Browser", "pid": 501, "bounds": [100, 100, 800, 600]},
    {"owner": "Notes", "pid": 502, "bounds": [50, 50, 400, 800], "element": "notes"},
    {"owner": "Failing", "pid": 503, "bounds": [1000, 150, 200, 100]},
    {"owner": "Frozen", "pid": 504, "bounds": [1000, 750, 200, 100]}]})";

const std::vector<std::string> kIds = {
    "overlayWin", "curtainWin", "clearWin", "browser",    "button", "label",
    "deco",       "decoIcon",   "back",     "front",      "group",  "inGroup",
    "clipped",    "outside",    "cycler",   "notesPanel", "notes",  "notesButton",
    "failing",    "frozen",     "app:501",  "app:502"};

struct HitCase {
  std::string label;
  std::string root;  // "systemWide" or an application element
  float x, y;
  std::string answer;
};

class ElementAtPosition : public ::testing::TestWithParam<HitCase> {};

TEST_P(ElementAtPosition, FindsTheFrontmostDeepestElement) {
  auto desktop = loadSceneOrThrow(kDesk);
  const HitCase& c = GetParam();
  AXResult result =
      desktop->platform().accessibility.elementAtPosition(desktop->element(c.root), c.x, c.y);
  EXPECT_EQ(answerText(*desktop, result, kIds), c.answer);
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Points, ElementAtPosition,
    ::testing::Values(
        HitCase{"overlayInFront", "systemWide", 150, 110, R"({"ref":"overlayWin"})"},
        HitCase{"textInsideButton", "systemWide", 150, 460, R"({"ref":"label"})"},
        HitCase{"buttonBesideItsText", "systemWide", 125, 460, R"({"ref":"button"})"},
        HitCase{"notHitTestableIsLookedThrough", "systemWide", 350, 460, R"({"ref":"browser"})"},
        HitCase{"childOfALookedThroughElement", "systemWide", 315, 458, R"({"ref":"decoIcon"})"},
        HitCase{"laterSiblingInFront", "systemWide", 560, 510, R"({"ref":"front"})"},
        HitCase{"earlierSiblingWhereUncovered", "systemWide", 510, 460, R"({"ref":"back"})"},
        HitCase{"elementWithoutFrameIsLookedThrough", "systemWide", 710, 460,
                R"({"ref":"inGroup"})"},
        HitCase{"childOutsideItsParentIsHidden", "systemWide", 410, 660, R"({"ref":"browser"})"},
        HitCase{"cycleEnds", "systemWide", 130, 660, R"({"ref":"cycler"})"},
        HitCase{"windowBehindWhereUncovered", "systemWide", 70, 510, R"({"ref":"notesButton"})"},
        HitCase{"linkedWindowOnly", "systemWide", 70, 610, R"({"ref":"notes"})"},
        HitCase{"dockWithoutAccessibility", "systemWide", 1300, 950, "error -25212"},
        HitCase{"emptyDesk", "systemWide", 1300, 800, "error -25212"},
        HitCase{"applicationError", "systemWide", 1050, 200, "error -25200"},
        HitCase{"frozenApplication", "systemWide", 1050, 800, "error -25204"},
        HitCase{"applicationIgnoresOtherWindows", "app:501", 150, 110, R"({"ref":"browser"})"},
        HitCase{"applicationOutsideItsWindows", "app:501", 1300, 800, R"({"ref":"app:501"})"},
        HitCase{"applicationUnderAnotherWindow", "app:502", 150, 510, R"({"ref":"notes"})"},
        HitCase{"applicationWindowsInTheirOrder", "app:502", 70, 610, R"({"ref":"notesPanel"})"},
        HitCase{"applicationErrorDirectly", "app:503", 1050, 200, "error -25200"}),
    [](const ::testing::TestParamInfo<HitCase>& info) { return info.param.label; });

TEST(ElementAtPosition, FrozenApplicationLetsTheTimeoutPass) {
  auto desktop = loadSceneOrThrow(kDesk);
  Accessibility& accessibility = desktop->platform().accessibility;
  accessibility.elementAtPosition(accessibility.systemWideElement(), 1050, 800);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 6.0);
  accessibility.elementAtPosition(accessibility.systemWideElement(), 150, 460);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 6.0);
}

TEST(ElementAtPosition, SystemWideErrorOfTheScene) {
  auto desktop =
      loadSceneOrThrow(R"({"systemWide": {"elementAtPositionError": {"timeout": true}}})");
  Accessibility& accessibility = desktop->platform().accessibility;
  EXPECT_EQ(accessibility.elementAtPosition(accessibility.systemWideElement(), 1, 1).error,
            axerror::cannotComplete);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 6.0);
}

// A chain of refs as long as the scene ends in an answer, not a crash.
TEST(ElementAtPosition, VeryLongChainsEnd) {
  std::string elements = R"({"id": "e0", "frame": [0, 0, 10, 10], "children": [{"ref": "e1"}]})";
  for (int i = 1; i < 20000; ++i) {
    elements += R"(, {"id": "e)" + std::to_string(i) +
                R"(", "frame": [0, 0, 10, 10], "children": [{"ref": "e)" + std::to_string(i + 1) +
                R"("}]})";
  }
  elements += R"(, {"id": "e20000", "frame": [0, 0, 10, 10]})";
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 1, "element": {"windows": [)" +
                                  elements + "]}}]}");
  Accessibility& accessibility = desktop->platform().accessibility;
  AXResult result = accessibility.elementAtPosition(accessibility.applicationElement(1), 5, 5);
  ASSERT_TRUE(result.get() && result.get()->element());
  EXPECT_EQ(result.get()->element()->hash(), desktop->element("e1000").hash());
}

// A window of 30,000 children, listed again in reverse as its visible
// children: each is one element, and the last one under the point is in front.
TEST(ElementAtPosition, WideWindowsListEachChildOnce) {
  constexpr int kChildren = 30000;
  std::string children, visible;
  for (int i = 0; i < kChildren; ++i) {
    const std::string id = "c" + std::to_string(i);
    if (i > 0) children += ", ";
    // Only every thousandth child lies under the point.
    children += R"({"id": ")" + id + R"(", "frame": )" +
                (i % 1000 == 500 ? "[0, 0, 10, 10]" : "[20, 20, 5, 5]") + "}";
    visible = R"({"ref": ")" + id + R"("})" + (visible.empty() ? "" : ", ") + visible;
  }
  auto desktop = loadSceneOrThrow(
      R"({"applications": [{"pid": 1, "element": {"windows": [{"id": "w", "frame": [0, 0, 100, 100], "children": [)" +
      children + R"(], "visibleChildren": [)" + visible + "]}]}}]}");
  Accessibility& accessibility = desktop->platform().accessibility;
  AXResult result = accessibility.elementAtPosition(accessibility.applicationElement(1), 5, 5);
  ASSERT_TRUE(result.get() && result.get()->element());
  EXPECT_EQ(result.get()->element()->hash(), desktop->element("c29500").hash());
}

TEST(ElementAtPosition, FollowsFramesChangedByWrites) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 1, "element": {"windows": [
      {"id": "w", "frame": [0, 0, 100, 100], "children": [
        {"id": "movable", "frame": [0, 0, 10, 10], "settable": ["AXPosition"]}]}]}}]})");
  Accessibility& accessibility = desktop->platform().accessibility;
  const AXElement app = accessibility.applicationElement(1);
  EXPECT_EQ(answerText(*desktop, accessibility.elementAtPosition(app, 55, 55), {"w", "movable"}),
            R"({"ref":"w"})");
  ASSERT_EQ(accessibility.setAttributeValue(desktop->element("movable"), "AXPosition",
                                            AXValue(AXPoint{50, 50})),
            axerror::success);
  EXPECT_EQ(answerText(*desktop, accessibility.elementAtPosition(app, 55, 55), {"w", "movable"}),
            R"({"ref":"movable"})");
}

}  // namespace
}  // namespace tessary::fake
