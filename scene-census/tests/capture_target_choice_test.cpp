// The target window: the frontmost counted window, narrowed by process or
// region, with a small auxiliary window replaced by a much larger window of
// its own process.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "scene-census/capture/target_window.h"
#include "scene-census/tests/driver_harness.h"

namespace tessary {
namespace {

struct ListedWindow {
  int32_t pid;
  std::string name;
  Rect bounds;
  int64_t layer = 0;
};

std::unique_ptr<fake::FakeDesktop> desktopWith(const std::vector<ListedWindow>& windows) {
  nlohmann::json list = nlohmann::json::array();
  for (const ListedWindow& w : windows) {
    list.push_back({{"pid", w.pid},
                    {"owner", "App " + std::to_string(w.pid)},
                    {"name", w.name},
                    {"layer", w.layer},
                    {"bounds", {w.bounds.x, w.bounds.y, w.bounds.w, w.bounds.h}}});
  }
  nlohmann::json scene{{"mainScreen", {0, 0, 1440, 900}}, {"windowList", list}};
  return fake::loadSceneOrThrow(scene.dump());
}

struct ChoiceCase {
  std::string label;
  std::vector<ListedWindow> windows;  // front to back
  int expected;                       // index into windows, -1 for none
  std::string replacementLine;        // "" when nothing is replaced
  std::optional<Rect> scope = std::nullopt;
  std::optional<int32_t> targetPid = std::nullopt;
};
void PrintTo(const ChoiceCase& c, std::ostream* os) {
  *os << c.label;
}

class TargetChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(TargetChoice, ChoosesTheWindow) {
  const ChoiceCase& c = GetParam();
  auto desktop = desktopWith(c.windows);
  std::ostringstream err;
  std::optional<WindowInfo> top =
      getTopVisibleWindow(desktop->platform().windowServer, {9}, c.scope, c.targetPid, false, err);
  if (c.expected < 0) {
    EXPECT_FALSE(top) << top->name;
  } else {
    ASSERT_TRUE(top);
    const ListedWindow& w = c.windows[c.expected];
    EXPECT_EQ(top->name, w.name);
    EXPECT_EQ(top->pid, w.pid);
    EXPECT_EQ(top->bounds, w.bounds);
    EXPECT_EQ(top->zIndex, c.expected);
  }
  EXPECT_EQ(err.str(), c.replacementLine.empty() ? "" : c.replacementLine + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, TargetChoice,
    ::testing::Values(
        // Menu bar and Dock levels are above 10; pid 9 is excluded.
        ChoiceCase{"frontmostCounted",
                   {{160, "Menubar", {0, 0, 1440, 25}, 24},
                    {9, "Overlay panel", {0, 0, 1440, 900}, 3},
                    {170, "Dock", {0, 840, 1440, 60}, 20},
                    {5, "Notes", {0, 25, 800, 600}},
                    {6, "Inbox", {100, 100, 800, 600}}},
                   3,
                   ""},
        ChoiceCase{"higherLayerBeforeListOrder",
                   {{5, "Notes", {0, 25, 800, 600}}, {6, "Floating", {100, 100, 600, 400}, 3}},
                   1,
                   ""},
        ChoiceCase{
            "findPanelReplacedByTheFirstLargeWindowOfItsProcess",
            {{5, "Find", {900, 120, 400, 150}},
             {6, "Inbox", {100, 80, 900, 600}},
             {5, "Chapter 3.txt", {200, 60, 1200, 800}},
             {5, "Chapter 2.txt", {150, 40, 1250, 820}}},
            2,
            "DEBUG: Replacing auxiliary top window 'Find' bounds=(900.0, 120.0, 400.0, 150.0) "
            "with 'Chapter 3.txt' bounds=(200.0, 60.0, 1200.0, 800.0)"},
        // 1000 x 100 is low; a replacement must exceed 8 x 100000 square points.
        ChoiceCase{
            "lowBarNeedsEightTimesItsArea",
            {{5, "Toolbar", {0, 25, 1000, 100}},
             {5, "Big", {0, 130, 1000, 790}},
             {5, "Bigger", {0, 130, 1200, 700}}},
            2,
            "DEBUG: Replacing auxiliary top window 'Toolbar' bounds=(0.0, 25.0, 1000.0, 100.0) "
            "with 'Bigger' bounds=(0.0, 130.0, 1200.0, 700.0)"},
        ChoiceCase{"lowBarStaysWhenEightTimesIsOnlyReached",
                   {{5, "Toolbar", {0, 25, 1000, 100}}, {5, "Big", {0, 130, 1000, 800}}},
                   0,
                   ""},
        ChoiceCase{"lowUntitledWindowIsAuxiliary",
                   {{5, "", {0, 25, 700, 190}}, {5, "Main", {0, 25, 1400, 800}}},
                   1,
                   "DEBUG: Replacing auxiliary top window '(untitled)' bounds=(0.0, 25.0, 700.0, "
                   "190.0) with 'Main' bounds=(0.0, 25.0, 1400.0, 800.0)"},
        ChoiceCase{"blankTitleCountsAsUntitled",
                   {{5, " \n", {0, 25, 700, 190}}, {5, "\tMain ", {0, 25, 1400, 800}}},
                   1,
                   "DEBUG: Replacing auxiliary top window '(untitled)' bounds=(0.0, 25.0, 700.0, "
                   "190.0) with 'Main' bounds=(0.0, 25.0, 1400.0, 800.0)"},
        ChoiceCase{"sameWindowWithTitleIsNotAuxiliary",
                   {{5, "Palette", {0, 25, 700, 190}}, {5, "Main", {0, 25, 1400, 800}}},
                   0,
                   ""},
        // 300 x 300 is small; 900 x 800 is exactly eight times that, not more.
        ChoiceCase{
            "smallAreaIsAuxiliary",
            {{5, "Colors", {0, 25, 300, 300}},
             {5, "Sketch", {0, 25, 900, 800}},
             {5, "Large", {0, 25, 1000, 800}}},
            2,
            "DEBUG: Replacing auxiliary top window 'Colors' bounds=(0.0, 25.0, 300.0, 300.0) "
            "with 'Large' bounds=(0.0, 25.0, 1000.0, 800.0)"},
        ChoiceCase{"onlyItsOwnProcessReplaces",
                   {{5, "Find", {900, 120, 400, 150}},
                    {6, "Inbox", {0, 25, 1400, 850}},
                    {5, "Tiny", {0, 25, 300, 200}}},
                   0,
                   ""},
        // Windows the filter drops are no candidates for the replacement either.
        ChoiceCase{
            "excludedWindowsNeverReplace",
            {{5, "Find", {900, 120, 400, 150}},
             {5, "Overlay", {0, 25, 1400, 850}},
             {5, "Popup", {0, 25, 1400, 850}, 11},
             {5, "Document", {0, 25, 800, 700}}},
            3,
            "DEBUG: Replacing auxiliary top window 'Find' bounds=(900.0, 120.0, 400.0, 150.0) "
            "with 'Document' bounds=(0.0, 25.0, 800.0, 700.0)"},
        ChoiceCase{"scopeNarrowsToOverlappingWindows",
                   {{5, "Left", {0, 25, 700, 800}}, {6, "Right", {720, 25, 700, 800}}},
                   1,
                   "",
                   Rect{800, 100, 10, 10}},
        ChoiceCase{"scopeBetweenWindowsTouchesBothEdges",
                   {{5, "Left", {0, 25, 700, 800}}, {6, "Right", {720, 25, 700, 800}}},
                   -1,
                   "",
                   Rect{700, 100, 20, 10}},
        ChoiceCase{"targetPidNarrowsToItsWindows",
                   {{5, "Left", {0, 25, 700, 800}}, {6, "Right", {720, 25, 700, 800}}},
                   1,
                   "",
                   std::nullopt,
                   6},
        // Narrowed to one process, its own auxiliary window is still replaced.
        ChoiceCase{
            "targetPidWithItsFindPanel",
            {{5, "Notes", {0, 25, 1400, 850}},
             {6, "Find", {900, 120, 400, 150}},
             {6, "Chapter", {100, 60, 900, 800}}},
            2,
            "DEBUG: Replacing auxiliary top window 'Find' bounds=(900.0, 120.0, 400.0, 150.0) "
            "with 'Chapter' bounds=(100.0, 60.0, 900.0, 800.0)",
            std::nullopt,
            6},
        ChoiceCase{"targetPidOfAnExcludedProcess",
                   {{9, "Overlay panel", {0, 0, 1440, 900}, 3}, {5, "Notes", {0, 25, 800, 600}}},
                   -1,
                   "",
                   std::nullopt,
                   9}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return info.param.label; });

// The same choice in a whole run: the Find panel gives way to its document,
// whose accessibility window is captured although the application lists
// its windows in another order.
TEST(TargetChoiceRun, FindPanelGivesWayToItsDocument) {
  auto desktop = driver_test::loadDriverScene("find_panel_in_front.json");
  driver_test::CensusRun run = driver_test::runCensus(*desktop);
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> lines = driver_test::linesOf(run.err);
  auto at = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  auto replacing =
      at("DEBUG: Replacing auxiliary top window 'Find' bounds=(900.0, 120.0, 400.0, 150.0) with "
         "'Chapter 3.txt' bounds=(200.0, 60.0, 1200.0, 800.0)");
  auto target =
      at("DEBUG: Target window owner='TextPad' pid=42 name='Chapter 3.txt' bounds=(200.0, 60.0, "
         "1200.0, 800.0)");
  auto restricting = at("DEBUG: Restricting AX traversal to top window 'Chapter 3.txt' for PID 42");
  ASSERT_LT(restricting, static_cast<long>(lines.size())) << run.err;
  EXPECT_LT(replacing, target);
  EXPECT_LT(target, restricting);
  EXPECT_EQ(driver_test::rootNames(driver_test::parsedOutput(run)),
            std::vector<std::string>{"Chapter 3.txt"});
}

}  // namespace
}  // namespace tessary
