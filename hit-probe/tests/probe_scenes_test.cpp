// hit-probe on small desktops: which point matches, what a blocked report
// names, and what the probe looks through. Expected identifiers are written as
// the key they hash ("key:AXButton|semantic:send|..."), so a wrong input to the
// identifier shows up as a wrong key.
#include <gtest/gtest.h>

#include "hit-probe/tests/probe_run.h"

namespace tessary::hitprobe {
namespace {

using testing::parseReportLine;
using testing::resolveKey;
using testing::resolveKeys;
using testing::runProbe;

// No element of any scene has this identifier.
constexpr const char* kAbsentTarget = "e0";

struct SceneCase {
  const char* name;
  const char* scene;
  const char* target;  // an identifier, or "key:..."
  std::vector<std::string> box;
  const char* excludedPid;  // nullptr: TESSARY_OVERLAY_EXCLUDED_PID unset
  const char* expected;     // the JSON report, or "no_match"
};

void PrintTo(const SceneCase& c, std::ostream* os) {
  *os << c.name;
}

class ProbeScene : public ::testing::TestWithParam<SceneCase> {};

TEST_P(ProbeScene, PrintsTheExpectedLine) {
  const SceneCase& c = GetParam();
  std::vector<std::string> arguments{resolveKey(c.target)};
  arguments.insert(arguments.end(), c.box.begin(), c.box.end());
  Environment environment;
  if (c.excludedPid) environment["TESSARY_OVERLAY_EXCLUDED_PID"] = c.excludedPid;

  testing::ProbeRun run = runProbe(c.scene, arguments, environment);
  ASSERT_TRUE(run.desktop);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  if (std::string(c.expected) == "no_match") {
    EXPECT_EQ(run.out, "no_match\n");
    return;
  }
  nlohmann::json expected = nlohmann::json::parse(c.expected);
  resolveKeys(expected);
  // Whole-object equality: no key missing, none extra.
  EXPECT_EQ(parseReportLine(run.out), expected) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Matches, ProbeScene,
    ::testing::Values(SceneCase{"textInsideAButtonMatchesAtTheCentre",
                                "text_inside_a_button.json",
                                "key:AXButton|semantic:send|button|grid:2,1,1,1",
                                {"130", "70", "70", "30"},
                                nullptr,
                                R"({"status": "match", "x": 165, "y": 85})"},
                      SceneCase{"excludedOverlayIsLookedThrough",
                                "overlay_covers_the_button.json",
                                "key:AXButton|semantic:send|button|grid:2,1,1,1",
                                {"130", "70", "70", "30"},
                                "900",
                                R"({"status": "match", "x": 165, "y": 85})"},
                      SceneCase{"faintAndHighWindowsAreSkippedByTheFallback",
                                "fallback_skips_faint_and_high_windows.json",
                                "key:AXButton|semantic:reply|grid:1,1,3,1",
                                {"100", "100", "200", "100"},
                                "900",
                                R"({"status": "match", "x": 200, "y": 150})"},
                      SceneCase{"popupOverTheCentreLeavesTheSecondPoint",
                                "popup_over_the_centre.json",
                                "key:AXButton|semantic:attach|grid:1,1,3,1",
                                {"100", "100", "200", "100"},
                                nullptr,
                                R"({"status": "match", "x": 120, "y": 110})"},
                      // Only (51, 50) is on the target: the third point of a box whose
                      // zero or negative extents count as 1.
                      SceneCase{"zeroExtentsReachTheThirdPoint",
                                "one_point_target.json",
                                "key:AXButton|semantic:dot|grid:0,0,1,1",
                                {"50", "50", "0", "0"},
                                nullptr,
                                R"({"status": "match", "x": 51, "y": 50})"},
                      SceneCase{"negativeExtentsReachTheThirdPoint",
                                "one_point_target.json",
                                "key:AXButton|semantic:dot|grid:0,0,1,1",
                                {"50", "50", "-5", "-5"},
                                nullptr,
                                R"({"status": "match", "x": 51, "y": 50})"},
                      SceneCase{"nativeIdentifierIsTrimmed",
                                "native_identifier_with_spaces.json",
                                "key:AXButton|axid:submit",
                                {"400", "300", "120", "40"},
                                nullptr,
                                R"({"status": "match", "x": 460, "y": 320})"},
                      // d4 is the twelfth element of the hit element's chain.
                      SceneCase{"twelfthChainElementStillMatches",
                                "parent_chains.json",
                                "key:AXGroup|semantic:twelfth",
                                {"200", "0", "100", "100"},
                                nullptr,
                                R"({"status": "match", "x": 250, "y": 50})"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Blocked, ProbeScene,
    ::testing::Values(SceneCase{"overlayThatIsNotExcludedBlocks",
                                "overlay_covers_the_button.json",
                                "key:AXButton|semantic:send|button|grid:2,1,1,1",
                                {"130", "70", "70", "30"},
                                nullptr,
                                R"({"status": "blocked", "x": 165, "y": 85, "hit": {
                      "id": "key:AXWindow|semantic:tessary overlay|grid:0,0,15,12",
                      "role": "AXWindow", "label": "Tessary Overlay", "bbox": [0, 0, 1000, 800]}})"},
                      SceneCase{"layer10WindowIsNotSkippedByTheFallback",
                                "fallback_skips_faint_and_high_windows.json",
                                "key:AXButton|semantic:forward|grid:7,1,3,1",
                                {"500", "100", "200", "100"},
                                "900",
                                R"({"status": "blocked", "x": 600, "y": 150, "hit": {
                      "id": "key:AXWindow|semantic:palette|grid:7,1,3,1",
                      "role": "AXWindow", "label": "Palette", "bbox": [500, 100, 700, 200]}})"},
                      SceneCase{"labelledTextIsNamedRatherThanItsButton",
                                "labelled_blockers.json",
                                kAbsentTarget,
                                {"100", "100", "100", "40"},
                                nullptr,
                                R"({"status": "blocked", "x": 150, "y": 120, "hit": {
                      "id": "key:AXStaticText|semantic:close|grid:1,1,1,1",
                      "role": "AXStaticText", "label": "Close", "bbox": [110, 105, 190, 135]}})"},
                      // The value "   " is no label: the report goes up to "Panel".
                      SceneCase{"spacesValueIsNoLabel",
                                "labelled_blockers.json",
                                kAbsentTarget,
                                {"300", "100", "200", "100"},
                                nullptr,
                                R"({"status": "blocked", "x": 400, "y": 150, "hit": {
                      "id": "key:AXGroup|semantic:panel|grid:4,1,3,1",
                      "role": "AXGroup", "label": "Panel", "bbox": [300, 100, 500, 200]}})"},
                      SceneCase{"positionWithoutSizeGivesNoBBox",
                                "labelled_blockers.json",
                                kAbsentTarget,
                                {"600", "0", "200", "40"},
                                nullptr,
                                R"({"status": "blocked", "x": 700, "y": 20, "hit": {
                      "id": "key:AXToolbar|semantic:formatting",
                      "role": "AXToolbar", "label": "Formatting"}})"},
                      // The identifier keeps the unswapped corners, the bbox is ordered.
                      SceneCase{"negativeSizeSwapsTheCorners",
                                "labelled_blockers.json",
                                kAbsentTarget,
                                {"600", "250", "100", "50"},
                                nullptr,
                                R"({"status": "blocked", "x": 650, "y": 275, "hit": {
                      "id": "key:AXGroup|semantic:flipped|grid:10,4,1,1",
                      "role": "AXGroup", "label": "Flipped", "bbox": [600, 250, 700, 300]}})"},
                      SceneCase{"missingRoleIsUnknownButHashedAsNoRole",
                                "labelled_blockers.json",
                                kAbsentTarget,
                                {"100", "500", "100", "50"},
                                nullptr,
                                R"({"status": "blocked", "x": 150, "y": 525, "hit": {
                      "id": "key:No role|semantic:mystery|grid:1,7,1,1",
                      "role": "Unknown", "label": "Mystery", "bbox": [100, 500, 200, 550]}})"},
                      SceneCase{"unlabelledChainNamesTheHitElement",
                                "unlabelled_groups.json",
                                kAbsentTarget,
                                {"100", "100", "100", "100"},
                                nullptr,
                                R"({"status": "blocked", "x": 150, "y": 150, "hit": {
                      "id": "key:AXGroup|grid:1,1,1,1",
                      "role": "AXGroup", "label": "", "bbox": [100, 100, 200, 200]}})"},
                      SceneCase{"spacesValueIsKeptUntrimmed",
                                "unlabelled_groups.json",
                                kAbsentTarget,
                                {"300", "0", "100", "40"},
                                nullptr,
                                R"({"status": "blocked", "x": 350, "y": 20, "hit": {
                      "id": "key:AXGroup|grid:4,0,1,1",
                      "role": "AXGroup", "label": "", "value": "   ", "bbox": [300, 0, 400, 40]}})"},
                      // The centre hits nothing; the second point hits "Left", the third
                      // "Right": the second point's report is printed.
                      SceneCase{"firstPointThatHitAnythingIsReported",
                                "two_windows_apart.json",
                                kAbsentTarget,
                                {"0", "0", "1000", "100"},
                                nullptr,
                                R"({"status": "blocked", "x": 100, "y": 10, "hit": {
                      "id": "key:AXWindow|semantic:left|grid:0,0,3,1",
                      "role": "AXWindow", "label": "Left", "bbox": [0, 0, 200, 100]}})"},
                      SceneCase{"parentCycleEndsTheChain",
                                "parent_chains.json",
                                kAbsentTarget,
                                {"100", "0", "100", "100"},
                                nullptr,
                                R"({"status": "blocked", "x": 150, "y": 50, "hit": {
                      "id": "key:AXGroup|grid:1,0,1,1",
                      "role": "AXGroup", "label": "", "bbox": [100, 0, 200, 100]}})"},
                      // d3, one above the twelfth, is out of reach.
                      SceneCase{"thirteenthChainElementIsNotTried",
                                "parent_chains.json",
                                "key:AXGroup|semantic:thirteenth",
                                {"200", "0", "100", "100"},
                                nullptr,
                                R"({"status": "blocked", "x": 250, "y": 50, "hit": {
                      "id": "key:AXGroup|semantic:twelfth",
                      "role": "AXGroup", "label": "Twelfth"}})"},
                      SceneCase{"nothingUnderAnyPointIsNoMatch",
                                "two_windows_apart.json",
                                kAbsentTarget,
                                {"300", "300", "100", "100"},
                                nullptr,
                                "no_match"}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> callDetails(const fake::FakeDesktop& desktop, std::string_view operation) {
  std::vector<std::string> details;
  for (const fake::PlatformCall& call : desktop.calls()) {
    if (call.operation == operation) details.push_back(call.element + " " + call.detail);
  }
  return details;
}

TEST(ProbeCalls, ZeroExtentBoxProbesItsDistinctPointsAndStopsAtTheMatch) {
  testing::ProbeRun run =
      runProbe("one_point_target.json",
               {resolveKey("key:AXButton|semantic:dot|grid:0,0,1,1"), "50", "50", "0", "0"});
  ASSERT_TRUE(run.desktop);
  EXPECT_EQ(callDetails(*run.desktop, "elementAtPosition"),
            (std::vector<std::string>{"systemWide 51 51", "systemWide 50 50", "systemWide 51 50"}));
}

TEST(ProbeCalls, LookThroughAsksTheWindowListAndThenTheApplicationUnderThePoint) {
  testing::ProbeRun run = runProbe(
      "overlay_covers_the_button.json",
      {resolveKey("key:AXButton|semantic:send|button|grid:2,1,1,1"), "130", "70", "70", "30"},
      {{"TESSARY_OVERLAY_EXCLUDED_PID", "900"}});
  ASSERT_TRUE(run.desktop);
  EXPECT_EQ(callDetails(*run.desktop, "copyWindowInfo"),
            (std::vector<std::string>{" options=17 relativeTo=0"}));
  EXPECT_EQ(callDetails(*run.desktop, "elementAtPosition"),
            (std::vector<std::string>{"systemWide 165 85", "app:42 165 85"}));
}

TEST(ProbeCalls, MatchAtTheHitElementCostsOneIdentifierRead) {
  // The identifier's seven attributes come in one batch, and the ancestors'
  // identifiers are not computed once the hit element carries the target.
  testing::ProbeRun run =
      runProbe("native_identifier_with_spaces.json",
               {resolveKey("key:AXButton|axid:submit"), "400", "300", "120", "40"});
  ASSERT_TRUE(run.desktop);
  EXPECT_EQ(callDetails(*run.desktop, "copyMultipleAttributeValues"),
            (std::vector<std::string>{
                "submit AXRole,AXTitle,AXDescription,AXRoleDescription,AXIdentifier,AXPosition,"
                "AXSize"}));
}

TEST(ProbeCalls, BlockedReportReusesTheIdentifierReads) {
  // Every chain element's role and label texts arrive with its identifier
  // inputs; the blocked report only adds the value of the element it names.
  // Each of the five points hits the button or its text, both named at once.
  testing::ProbeRun run =
      runProbe("labelled_blockers.json", {std::string(kAbsentTarget), "100", "100", "100", "40"});
  ASSERT_TRUE(run.desktop);
  ASSERT_EQ(run.status, 0);
  for (const std::string& batch : callDetails(*run.desktop, "copyMultipleAttributeValues")) {
    EXPECT_TRUE(batch.ends_with(
        " AXRole,AXTitle,AXDescription,AXRoleDescription,AXIdentifier,AXPosition,AXSize"))
        << batch;
  }
  size_t valueReads = 0;
  for (const std::string& read : callDetails(*run.desktop, "copyAttributeValue")) {
    if (read.ends_with(" AXValue")) ++valueReads;
  }
  EXPECT_EQ(valueReads, 5u);
}

}  // namespace
}  // namespace tessary::hitprobe
