// Which accessibility window the raise takes: the match test with its
// tolerances, the first match in list order, and the answers that end the
// raise without one.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pane-raise/raise_candidates.h"
#include "pane-raise/tests/raise_run.h"
#include "pane-raise/window_raise.h"

namespace tessary::paneraise {
namespace {

const Rect kTarget{100, 100, 300, 200};

struct MatchCase {
  const char* name;
  AXWindowFacts window;
  const char* targetTitle;
  bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << c.name;
}

class Match : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Match, ByTitleOrWithinTolerance) {
  EXPECT_EQ(windowMatchesTarget(GetParam().window, GetParam().targetTitle, kTarget),
            GetParam().matches);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Windows, Match,
    ::testing::Values(
        MatchCase{"sameTitleElsewhere", {"Report", Point{900, 900}, Size{1, 1}}, "Report", true},
        MatchCase{"sameTitleNoGeometry", {"Report", std::nullopt, std::nullopt}, "Report", true},
        MatchCase{"titleCaseMatters", {"report", Point{900, 900}, Size{1, 1}}, "Report", false},
        MatchCase{"tolerancesInclusive", {"Other", Point{104, 96}, Size{306, 194}}, "Report", true},
        MatchCase{
            "positionJustOutside", {"Other", Point{104.5, 100}, Size{300, 200}}, "Report", false},
        MatchCase{"sizeJustOutside", {"Other", Point{100, 100}, Size{300, 206.5}}, "Report", false},
        MatchCase{"emptyTitlesDoNotMatchByTitle", {"", Point{900, 900}, Size{1, 1}}, "", false},
        MatchCase{
            "emptyTargetGeometryDecides", {"Anything", Point{101, 99}, Size{299, 201}}, "", true},
        MatchCase{"noPosition", {"Other", std::nullopt, Size{300, 200}}, "Report", false},
        MatchCase{"noSize", {"Other", Point{100, 100}, std::nullopt}, "Report", false},
        MatchCase{"notANumber", {"Other", Point{kNaN, 100}, Size{300, 200}}, "Report", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HitTest, TruncatedBoundsWithoutOverflow) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(hitsTruncatedBounds({100.9, 0, 50.9, 10}, 100, 0));
  EXPECT_TRUE(hitsTruncatedBounds({100.9, 0, 50.9, 10}, 149, 9));
  EXPECT_FALSE(hitsTruncatedBounds({100.9, 0, 50.9, 10}, 150, 0));
  EXPECT_FALSE(hitsTruncatedBounds({100.9, 0, 50.9, 10}, 100, 10));
  // Negative bounds truncate toward zero: -10.7 is -10.
  EXPECT_FALSE(hitsTruncatedBounds({-10.7, 0, 20, 10}, -11, 0));
  EXPECT_TRUE(hitsTruncatedBounds({-10.7, 0, 20, 10}, -10, 0));
  // x + w past the 64-bit range still holds the points in between.
  EXPECT_TRUE(hitsTruncatedBounds({9.2e18, 0, 9.2e18, 10}, INT64_MAX, 0));
  EXPECT_FALSE(hitsTruncatedBounds({-9.2e18, 0, -9.2e18, 10}, INT64_MIN, 0));
  // Bounds no window has are never hit.
  EXPECT_FALSE(hitsTruncatedBounds({kNaN, 0, 10, 10}, 0, 0));
  EXPECT_FALSE(hitsTruncatedBounds({0, 0, inf, 10}, 5, 5));
  EXPECT_FALSE(hitsTruncatedBounds({-1e300, 0, 2e300, 10}, 5, 5));
}

// A one-window desktop whose application lists `windows` (element objects or
// a whole answer); the window server's window is "Target" at 100,100 300x200.
std::unique_ptr<fake::FakeDesktop> desktopWith(const std::string& windows,
                                               const std::string& name = "Target") {
  return fake::loadSceneOrThrow(R"({"applications": [{"pid": 7, "name": "App",
      "element": {"id": "app", "windows": )" +
                                windows + R"(}}],
      "windowList": [{"pid": 7, "name": ")" +
                                name + R"(", "bounds": [100, 100, 300, 200]}]})");
}

std::string raisedWindow(fake::FakeDesktop& desktop) {
  auto raises = testing::callsOf(desktop, {"performAction"});
  return raises.empty() ? "none" : raises.front();
}

TEST(RaiseChoice, TheFirstMatchInListOrder) {
  // The geometric match comes before the title match, so it is raised.
  auto desktop = desktopWith(R"([
      {"id": "far", "role": "AXWindow", "title": "Other", "frame": [0, 0, 100, 100]},
      {"id": "near", "role": "AXWindow", "title": "Other", "frame": [104, 96, 306, 194]},
      {"id": "named", "role": "AXWindow", "title": "Target", "frame": [500, 500, 10, 10]}])");
  EXPECT_EQ(testing::runRaise(desktop->platform(), {"150", "150"}).out,
            "activated owner=App pid=7 window=Target raised=true\n");
  EXPECT_EQ(raisedWindow(*desktop), "performAction near AXRaise");

  auto titled = desktopWith(R"([
      {"id": "far", "role": "AXWindow", "title": "Other", "frame": [0, 0, 100, 100]},
      {"id": "named", "role": "AXWindow", "title": " Target\n", "frame": [500, 500, 10, 10]}])");
  testing::runRaise(titled->platform(), {"150", "150"});
  EXPECT_EQ(raisedWindow(*titled), "performAction named AXRaise");

  // Without a title on the window-server side only geometry counts.
  auto untitled = desktopWith(R"([
      {"id": "blank", "role": "AXWindow", "title": "", "frame": [0, 0, 100, 100]},
      {"id": "near", "role": "AXWindow", "frame": [100, 100, 300, 200]}])",
                              "");
  EXPECT_EQ(testing::runRaise(untitled->platform(), {"150", "150"}).out,
            "activated owner=App pid=7 window=<untitled> raised=true\n");
  EXPECT_EQ(raisedWindow(*untitled), "performAction near AXRaise");
}

TEST(RaiseChoice, NoWindowToRaise) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"noneMatches", R"([{"id": "far", "role": "AXWindow", "frame": [0, 0, 10, 10]}])"},
      {"emptyList", "[]"},
      {"readFails", R"({"error": -25204})"},
      {"readTimesOut", R"({"timeout": true})"},
      {"notAList", R"("windows")"},
      {"notOnlyElements", R"([{"id": "w", "role": "AXWindow", "title": "Target"}, 5])"}};
  for (const auto& [name, windows] : cases) {
    auto desktop = fake::loadSceneOrThrow(R"({"applications": [{"pid": 7, "name": "App",
        "element": {"id": "app", "attributes": {"AXWindows": )" +
                                          windows + R"(}}}],
        "windowList": [{"pid": 7, "name": "Target", "bounds": [100, 100, 300, 200]}]})");
    EXPECT_EQ(testing::runRaise(desktop->platform(), {"150", "150"}).out,
              "activated owner=App pid=7 window=Target raised=false\n")
        << name;
    EXPECT_EQ(raisedWindow(*desktop), "none") << name;
    EXPECT_EQ(testing::callsOf(*desktop, {"activateApplication"}),
              std::vector<std::string>{"activateApplication 7 options=2"})
        << name;
  }
}

// The four raise calls are made whatever they answer.
TEST(RaiseChoice, RefusedRaiseCallsAreIgnored) {
  auto desktop = desktopWith(R"([{"id": "w", "role": "AXWindow", "title": "Target",
      "actions": {"AXRaise": -25200}, "setResults": {"AXMain": [-25205], "AXFocused": [-25204]}}])");
  EXPECT_EQ(testing::runRaise(desktop->platform(), {"150", "150"}).out,
            "activated owner=App pid=7 window=Target raised=true\n");
  EXPECT_EQ(testing::callsOf(*desktop, {"performAction", "setAttributeValue"}),
            (std::vector<std::string>{
                "performAction w AXRaise", R"(setAttributeValue app AXFocusedWindow {"ref":"w"})",
                "setAttributeValue w AXMain true", "setAttributeValue w AXFocused true"}));
}

}  // namespace
}  // namespace tessary::paneraise
