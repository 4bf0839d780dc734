// The window list changing while a program runs: the timeline of lists in
// virtual time, the effect of "AXRaise", and what activation does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"

namespace tessary::fake {
namespace {

constexpr uint32_t kOnScreen = windowlist::onScreenOnly | windowlist::excludeDesktopElements;

// "owner name x" of every listed window, front to back; "fails" when the
// call fails.
std::string listed(FakeDesktop& desktop) {
  std::optional<PlistArray> list =
      desktop.platform().windowServer.copyWindowInfo(kOnScreen, windowlist::nullWindowId);
  if (!list) return "fails";
  std::string text;
  for (const PlistValue& entry : *list) {
    if (!text.empty()) text += ", ";
    const PlistValue* name = entry.find("kCGWindowName");
    text += *entry.find("kCGWindowOwnerName")->asString() + " " +
            (name ? *name->asString() : std::string("-")) + " " +
            std::to_string(*entry.find("kCGWindowBounds")->find("X")->asInteger());
  }
  return text;
}

constexpr const char* kTimeline = R"({
  "applications": [{"pid": 7, "name": "Notes", "element": {"windows": [
    {"id": "groceries", "role": "AXWindow", "frame": [10, 10, 300, 200]},
    {"id": "moved", "role": "AXWindow", "frame": [11, 10, 300, 200]}]}}],
  "windowList": [{"pid": 7, "name": "Groceries", "number": 5, "bounds": [10, 10, 300, 200],
                  "element": "groceries"}],
  "windowTimeline": [
    {"at": 0.1, "windowList": [{"pid": 7, "name": "Groceries", "number": 5,
                                "bounds": [11, 10, 300, 200], "element": "moved"}]},
    {"at": 0.2, "comment": "the list cannot be read", "windowList": "fail"},
    {"at": 0.3, "windowList": []},
    {"at": 0.4, "windowList": [{"pid": 7, "name": "Shopping", "number": 5,
                                "bounds": [10, 10, 300, 200]}]}]
})";

TEST(WindowTimeline, EachStageTakesOverWhenVirtualTimeReachesIt) {
  auto desktop = loadSceneOrThrow(kTimeline);
  Clock& clock = desktop->platform().clock;
  std::vector<std::string> seen;
  seen.push_back(listed(*desktop));
  // Polls every 30 ms up to 0.45 s: each stage shows from its first poll on.
  for (int poll = 1; poll <= 15; ++poll) {
    clock.sleepMicroseconds(30000);
    if (std::string now = listed(*desktop); now != seen.back()) seen.push_back(now);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Notes Groceries 10", "Notes Groceries 11", "fails", "",
                                            "Notes Shopping 10"}));
}

TEST(WindowTimeline, StagesNeverComeBeforeTheirTimeAndLinksFollowTheStage) {
  auto desktop = loadSceneOrThrow(kTimeline);
  Platform& platform = desktop->platform();
  platform.clock.sleepMicroseconds(99999);
  EXPECT_EQ(listed(*desktop), "Notes Groceries 10");
  platform.clock.sleepMicroseconds(1);
  EXPECT_EQ(listed(*desktop), "Notes Groceries 11");
  // The stage's window shows the element its entry names.
  AXResult hit =
      platform.accessibility.elementAtPosition(platform.accessibility.systemWideElement(), 12, 12);
  ASSERT_TRUE(hit.get() && hit.get()->element());
  EXPECT_EQ(hit.get()->element()->hash(), desktop->element("moved").hash());
  // A long sleep passes several stages; the latest one holds.
  platform.clock.sleepMicroseconds(1000000);
  EXPECT_EQ(listed(*desktop), "Notes Shopping 10");
}

struct TimelineMistake {
  const char* name;
  const char* timeline;
  const char* message;
};

void PrintTo(const TimelineMistake& c, std::ostream* os) {
  *os << c.name;
}

class TimelineMistakes : public ::testing::TestWithParam<TimelineMistake> {};

TEST_P(TimelineMistakes, AreNamedWhereTheyAre) {
  auto loaded =
      FakeDesktop::fromSceneText(std::string(R"({"windowTimeline": )") + GetParam().timeline + "}");
  ASSERT_TRUE(std::holds_alternative<std::string>(loaded));
  EXPECT_EQ(std::get<std::string>(loaded), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, TimelineMistakes,
    ::testing::Values(
        TimelineMistake{"notAList", R"({"at": 1})",
                        "windowTimeline: must be a list of {\"at\": seconds, \"windowList\": "
                        "[...]}, in the order they happen"},
        TimelineMistake{"atZero", R"([{"at": 0, "windowList": []}])",
                        "windowTimeline[0].at: must be after the start (more than 0 seconds)"},
        TimelineMistake{"notLater",
                        R"([{"at": 0.5, "windowList": []}, {"at": 0.5, "windowList": []}])",
                        "windowTimeline[1].at: must be later than the stage before it"},
        TimelineMistake{"noList", R"([{"at": 0.5}])",
                        "windowTimeline[0]: a stage needs its \"windowList\""},
        TimelineMistake{
            "noTime", R"([{"windowList": []}])",
            "windowTimeline[0]: a stage needs \"at\" (virtual seconds since the start)"},
        TimelineMistake{"unknownKey", R"([{"at": 1, "windowList": [], "when": 2}])",
                        "windowTimeline[0]: unknown key \"when\" (at, windowList, comment)"},
        TimelineMistake{"badWindow", R"([{"at": 1, "windowList": [{"pid": 7}]}])",
                        "windowTimeline[0].windowList[0]: a window needs bounds [x, y, w, h] "
                        "(omit can take them away)"},
        TimelineMistake{"unknownElement",
                        R"([{"at": 1, "windowList": [{"pid": 7, "bounds": [0, 0, 1, 1],
                             "element": "nowhere"}]}])",
                        "windowTimeline[0].windowList[0].element: no element has id \"nowhere\""}),
    [](const auto& info) { return std::string(info.param.name); });

constexpr const char* kLayers = R"({
  "raiseBringsWindowForward": true,
  "applications": [{"pid": 7, "name": "Notes", "element": {"windows": [
    {"id": "front", "role": "AXWindow", "actions": ["AXRaise"]},
    {"id": "back", "role": "AXWindow", "actions": ["AXRaise"]},
    {"id": "refusing", "role": "AXWindow", "actions": {"AXRaise": -25200}},
    {"id": "panel", "role": "AXWindow", "actions": ["AXRaise"]}]}}],
  "windowList": [
    {"owner": "Window Server", "pid": 1, "name": "Menubar", "layer": 24, "bounds": [0, 0, 100, 25]},
    {"pid": 7, "name": "Panel", "layer": 3, "bounds": [0, 0, 1, 1], "element": "panel"},
    {"pid": 7, "name": "Front", "bounds": [1, 0, 1, 1], "element": "front"},
    {"pid": 7, "name": "Refusing", "bounds": [2, 0, 1, 1], "element": "refusing"},
    {"pid": 7, "name": "Back", "bounds": [3, 0, 1, 1], "element": "back"}]
})";

TEST(RaiseEffect, BringsTheWindowToTheFrontOfItsLayerOnly) {
  auto desktop = loadSceneOrThrow(kLayers);
  Accessibility& accessibility = desktop->platform().accessibility;
  const std::string before = listed(*desktop);

  EXPECT_EQ(accessibility.performAction(desktop->element("refusing"), "AXRaise"), -25200);
  EXPECT_EQ(accessibility.performAction(desktop->element("back"), "AXPress"), -25206);
  EXPECT_EQ(listed(*desktop), before);

  EXPECT_EQ(accessibility.performAction(desktop->element("back"), "AXRaise"), 0);
  EXPECT_EQ(
      listed(*desktop),
      "Window Server Menubar 0, Notes Panel 0, Notes Back 3, Notes Front 1, Notes Refusing 2");
  // The panel is alone in its layer and stays behind the menu bar.
  EXPECT_EQ(accessibility.performAction(desktop->element("panel"), "AXRaise"), 0);
  EXPECT_EQ(
      listed(*desktop),
      "Window Server Menubar 0, Notes Panel 0, Notes Back 3, Notes Front 1, Notes Refusing 2");
}

TEST(RaiseEffect, OnlyWhenTheSceneAsksForIt) {
  std::string scene = kLayers;
  scene.replace(scene.find("true"), 4, "false");
  auto desktop = loadSceneOrThrow(scene);
  const std::string before = listed(*desktop);
  EXPECT_EQ(desktop->platform().accessibility.performAction(desktop->element("back"), "AXRaise"),
            0);
  EXPECT_EQ(listed(*desktop), before);
}

TEST(Activation, MakesARunningApplicationFrontmostAndIsRecorded) {
  auto desktop = loadSceneOrThrow(R"({"frontmostApplication": 7, "applications": [
      {"pid": 7, "name": "Notes", "bundlePath": "/Applications/Notes.app"},
      {"pid": 8, "name": "Mail"}, {"pid": 9, "name": "Quit", "running": false}]})");
  Workspace& workspace = desktop->platform().workspace;

  std::optional<RunningApplication> notes = workspace.runningApplication(7);
  ASSERT_TRUE(notes);
  EXPECT_EQ(notes->bundlePath, "/Applications/Notes.app");
  EXPECT_FALSE(workspace.runningApplication(8)->bundlePath);
  EXPECT_FALSE(workspace.runningApplication(9));
  EXPECT_FALSE(workspace.runningApplication(10));

  EXPECT_FALSE(workspace.activateApplication(9, activation::ignoringOtherApps));
  EXPECT_EQ(workspace.frontmostApplication()->pid, 7);
  EXPECT_TRUE(workspace.activateApplication(8, activation::ignoringOtherApps));
  EXPECT_EQ(workspace.frontmostApplication()->pid, 8);

  std::vector<std::string> activations;
  for (const PlatformCall& call : desktop->calls()) {
    if (call.operation == "activateApplication") activations.push_back(call.detail);
  }
  EXPECT_EQ(activations, (std::vector<std::string>{"9 options=2", "8 options=2"}));
}

}  // namespace
}  // namespace tessary::fake
