// The run as a whole: trust, the diagnostic lines in their order, the two
// modes chosen by the environment, no target, and the printed object.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "scene-census/tests/driver_harness.h"

namespace tessary {
namespace {

using driver_test::CensusRun;
using driver_test::countCalls;
using driver_test::linesOf;
using driver_test::loadDriverScene;
using driver_test::parsedOutput;
using driver_test::runCensus;
using nlohmann::json;

const std::string kBanner = "===== BINARY VERSION: 2026-03-08 22:20 - STABLE GEOMETRY IDS =====";
const std::string kNoTarget = "ERROR: Could not determine top visible target window";

TEST(CaptureRun, UntrustedProcessWritesNothingAndReadsNothing) {
  for (const Environment& environment :
       {Environment{}, Environment{{"TESSARY_OVERLAY_SELECTION_ONLY", "1"}}}) {
    auto desktop = loadDriverScene("untrusted.json");
    CensusRun run = runCensus(*desktop, environment);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(countCalls(*desktop, "copyWindowInfo"), 0u);
    EXPECT_EQ(desktop->accessibilityRoundTrips(), 0u);
  }
}

TEST(CaptureRun, DiagnosticLinesInOrder) {
  auto desktop = loadDriverScene("untitled_editor.json");
  CensusRun run = runCensus(*desktop, {{"TESSARY_OVERLAY_EXCLUDED_PID", "900"},
                                       {"TESSARY_OVERLAY_TARGET_PID", "42"},
                                       {"TESSARY_OVERLAY_SCOPE_BOUNDS", " 0,25,800 , 600.5"}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(linesOf(run.err),
            (std::vector<std::string>{
                kBanner,
                "DEBUG: Excluding PIDs: 900",
                "DEBUG: Requested target PID 42",
                "DEBUG: Requested scope bounds x=0.0 y=25.0 w=800.0 h=600.5",
                "DEBUG: listVisibleAppBundles found 5 total windows",
                "DEBUG: Skipping window at layer 24: owner='Window Server', name='Menubar'",
                "DEBUG: Skipping window at layer 3: owner='Tessary', name='Tessary Overlay'",
                "DEBUG: Added PID to visible apps: 42 (owner='Editor')",
                "DEBUG: Added PID to visible apps: 43 (owner='Photos')",
                "DEBUG: Skipping window at layer 20: owner='Dock', name='Dock'",
                "DEBUG: Layer distribution: 0:2, 3:1, 20:1, 24:1",
                "DEBUG: allVisiblePIDs contains 2 PIDs: 42, 43",
                "Found 2 visible processes",
                "Built visibility index with 2 windows",
                "DEBUG: Target window owner='Editor' pid=42 name='(untitled)' "
                "bounds=(0.0, 25.0, 800.0, 600.0)",
                "DEBUG: Restricting AX traversal to top window '(untitled)' for PID 42",
                "DEBUG WINDOW: 'untitled' has 1 visible rects (screen coords): [[0, 25, 800, 625]]",
                "DEBUG: Processed target PID 42 in 0.00s, got 1 root elements",
            }));
  json output = parsedOutput(run);
  ASSERT_EQ(output["elements"].size(), 1u);
  const json& root = output["elements"][0];
  EXPECT_EQ(root["role"], "AXWindow");
  EXPECT_FALSE(root.contains("name"));
  EXPECT_EQ(root["app_name"], "Editor");
  EXPECT_NE(output["formatted_text"].get<std::string>().find("Dear Ada"), std::string::npos)
      << output["formatted_text"];
}

TEST(CaptureRun, WithoutRestrictionsTheFrontmostCountedWindowIsTheTarget) {
  auto desktop = loadDriverScene("untitled_editor.json");
  // Without the exclusion the host's own overlay is what the user looks at.
  CensusRun unexcluded = runCensus(*desktop);
  EXPECT_EQ(unexcluded.status, 0);
  EXPECT_TRUE(driver_test::hasLine(unexcluded.err,
                                   "DEBUG: Target window owner='Tessary' pid=900 name='Tessary "
                                   "Overlay' bounds=(0.0, 0.0, 1440.0, 900.0)"))
      << unexcluded.err;
  EXPECT_EQ(parsedOutput(unexcluded)["elements"], json::array());

  CensusRun excluded = runCensus(*desktop, {{"TESSARY_OVERLAY_EXCLUDED_PID", "900"}});
  EXPECT_TRUE(driver_test::hasLine(
      excluded.err,
      "DEBUG: Target window owner='Editor' pid=42 name='(untitled)' bounds=(0.0, 25.0, 800.0, "
      "600.0)"))
      << excluded.err;
}

struct NoTargetCase {
  std::string label;
  std::string scene;  // a file of scenes/driver, or scene text
  Environment environment;
};
void PrintTo(const NoTargetCase& c, std::ostream* os) {
  *os << c.label;
}

class NoTarget : public ::testing::TestWithParam<NoTargetCase> {};

TEST_P(NoTarget, ErrorLineAndStatusOne) {
  const NoTargetCase& c = GetParam();
  auto desktop =
      c.scene.front() == '{' ? fake::loadSceneOrThrow(c.scene) : loadDriverScene(c.scene);
  CensusRun run = runCensus(*desktop, c.environment);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  std::vector<std::string> lines = linesOf(run.err);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), kBanner);
  EXPECT_EQ(lines.back(), kNoTarget) << run.err;
  // Nothing was captured.
  EXPECT_EQ(countCalls(*desktop, "applicationElement"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NoTarget,
    ::testing::Values(
        NoTargetCase{"scopeOffScreen",
                     "untitled_editor.json",
                     {{"TESSARY_OVERLAY_EXCLUDED_PID", "900"},
                      {"TESSARY_OVERLAY_SCOPE_BOUNDS", "2000,2000,10,10"}}},
        // The editor's right edge is at x = 800; touching it is no overlap.
        NoTargetCase{"scopeOnlyTouchesAnEdge",
                     "untitled_editor.json",
                     {{"TESSARY_OVERLAY_EXCLUDED_PID", "900"},
                      {"TESSARY_OVERLAY_SCOPE_BOUNDS", "800,25,100,100"}}},
        NoTargetCase{"targetPidWithoutWindows",
                     "untitled_editor.json",
                     {{"TESSARY_OVERLAY_TARGET_PID", "44"}}},
        NoTargetCase{
            "targetPidExcluded",
            "untitled_editor.json",
            {{"TESSARY_OVERLAY_EXCLUDED_PID", "900"}, {"TESSARY_OVERLAY_TARGET_PID", "900"}}},
        NoTargetCase{"targetPidOfTheMenuBar",
                     "untitled_editor.json",
                     {{"TESSARY_OVERLAY_TARGET_PID", "160"}}},
        NoTargetCase{"emptyScreen", R"({"windowList": []})", {}},
        NoTargetCase{"windowListFails", R"({"windowList": "fail"})", {}},
        NoTargetCase{
            "everythingExcluded",
            R"({"applications": [{"pid": 7, "name": "Kiosk"}, {"pid": 8, "name": "frost-curtain"}],
                "windowList": [
                  {"owner": "Window Server", "name": "Menubar", "pid": 160, "layer": 24, "bounds": [0, 0, 1440, 25]},
                  {"pid": 8, "layer": 3, "bounds": [0, 600, 1440, 300]},
                  {"pid": 7, "name": "Tessary", "bounds": [0, 25, 800, 600]},
                  {"pid": 7, "name": "Notes", "alpha": 0.0, "bounds": [0, 25, 800, 600]},
                  {"pid": 7, "name": "Notes", "bounds": [0, 25, 0, 600]},
                  {"pid": 9, "owner": "Photos", "name": "Library", "bounds": [0, 25, 800, 600]},
                  {"owner": "Dock", "name": "Dock", "pid": 170, "layer": 20, "bounds": [0, 840, 1440, 60]}]})",
            {{"TESSARY_OVERLAY_EXCLUDED_PID", "9"}}}),
    [](const ::testing::TestParamInfo<NoTargetCase>& info) { return info.param.label; });

// Which mode and which target the environment selects. Only the exact texts
// count; anything else is the same as the variable not being set.
struct EnvironmentCase {
  std::string label;
  Environment environment;
  bool selectionOnly;
  std::string targetLine;  // full capture only
  bool includeAllWindows;
};
void PrintTo(const EnvironmentCase& c, std::ostream* os) {
  *os << c.label;
}

class EnvironmentRules : public ::testing::TestWithParam<EnvironmentCase> {};

const std::string kKioskTarget =
    "DEBUG: Target window owner='Kiosk' pid=42 name='Background' bounds=(0.0, 25.0, 1440.0, "
    "875.0)";
const std::string kLedgerTarget =
    "DEBUG: Target window owner='Ledger' pid=43 name='Books' bounds=(100.0, 100.0, 800.0, 600.0)";

TEST_P(EnvironmentRules, ModeAndTarget) {
  const EnvironmentCase& c = GetParam();
  auto desktop = loadDriverScene("background_in_front.json");
  CensusRun run = runCensus(*desktop, c.environment);
  EXPECT_EQ(run.status, 0) << run.err;
  json output = parsedOutput(run);
  std::vector<std::string> keys;
  for (const auto& [key, value] : output.items())
    keys.push_back(key);
  if (c.selectionOnly) {
    EXPECT_EQ(keys, std::vector<std::string>{"selection_context"});
    EXPECT_EQ(output["selection_context"]["text"], "net income");
    return;
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"elements", "formatted_text"}));
  EXPECT_TRUE(driver_test::hasLine(run.err, c.targetLine)) << run.err;
  EXPECT_EQ(
      driver_test::linesStartingWith(run.err, "DEBUG: FORM_TESTS_INCLUDE_ALL_AX_WINDOWS").size(),
      c.includeAllWindows ? 1u : 0u)
      << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, EnvironmentRules,
    ::testing::Values(
        EnvironmentCase{"nothingSet", {}, false, kKioskTarget, false},
        EnvironmentCase{"selectionOne", {{"TESSARY_OVERLAY_SELECTION_ONLY", "1"}}, true, "", false},
        EnvironmentCase{"selectionTrue",
                        {{"TESSARY_OVERLAY_SELECTION_ONLY", "true"}},
                        false,
                        kKioskTarget,
                        false},
        EnvironmentCase{"selectionYes",
                        {{"TESSARY_OVERLAY_SELECTION_ONLY", "yes"}},
                        false,
                        kKioskTarget,
                        false},
        EnvironmentCase{"selectionSpaceOne",
                        {{"TESSARY_OVERLAY_SELECTION_ONLY", " 1"}},
                        false,
                        kKioskTarget,
                        false},
        EnvironmentCase{"selectionOneNewline",
                        {{"TESSARY_OVERLAY_SELECTION_ONLY", "1\n"}},
                        false,
                        kKioskTarget,
                        false},
        EnvironmentCase{"selectionZeroOne",
                        {{"TESSARY_OVERLAY_SELECTION_ONLY", "01"}},
                        false,
                        kKioskTarget,
                        false},
        EnvironmentCase{
            "selectionEmpty", {{"TESSARY_OVERLAY_SELECTION_ONLY", ""}}, false, kKioskTarget, false},
        // Form-tests mode leaves windows named "Background" out, and captures
        // every accessibility window of the target's application.
        EnvironmentCase{"formTestsTrue", {{"FORM_TESTS_MODE", "true"}}, false, kLedgerTarget, true},
        EnvironmentCase{
            "formTestsUpperCase", {{"FORM_TESTS_MODE", "TRUE"}}, false, kKioskTarget, false},
        EnvironmentCase{"formTestsOne", {{"FORM_TESTS_MODE", "1"}}, false, kKioskTarget, false},
        EnvironmentCase{"includeAllTrue",
                        {{"FORM_TESTS_INCLUDE_ALL_AX_WINDOWS", "true"}},
                        false,
                        kKioskTarget,
                        true},
        EnvironmentCase{"includeAllUpperCase",
                        {{"FORM_TESTS_INCLUDE_ALL_AX_WINDOWS", "True"}},
                        false,
                        kKioskTarget,
                        false},
        // Selection-only mode ignores the target variables.
        EnvironmentCase{"selectionWithTarget",
                        {{"TESSARY_OVERLAY_SELECTION_ONLY", "1"},
                         {"TESSARY_OVERLAY_TARGET_PID", "42"},
                         {"FORM_TESTS_MODE", "true"}},
                        true,
                        "",
                        false}),
    [](const ::testing::TestParamInfo<EnvironmentCase>& info) { return info.param.label; });

TEST(SelectionOnlyMode, ConfigurationLinesButNoWindowList) {
  auto desktop = loadDriverScene("background_in_front.json");
  CensusRun run = runCensus(*desktop, {{"TESSARY_OVERLAY_SELECTION_ONLY", "1"},
                                       {"TESSARY_OVERLAY_EXCLUDED_PID", "+900"},
                                       {"TESSARY_OVERLAY_TARGET_PID", "42"},
                                       {"TESSARY_OVERLAY_SCOPE_BOUNDS", "1,2,3.25,4"}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(linesOf(run.err),
            (std::vector<std::string>{kBanner, "DEBUG: Excluding PIDs: 900",
                                      "DEBUG: Requested target PID 42",
                                      "DEBUG: Requested scope bounds x=1.0 y=2.0 w=3.25 h=4.0"}));
  EXPECT_EQ(countCalls(*desktop, "copyWindowInfo"), 0u);
  EXPECT_EQ(countCalls(*desktop, "setAttributeValue"), 0u);
  EXPECT_EQ(parsedOutput(run), json::parse(R"({"selection_context": {
      "source_kind": "selected_text", "source_app_name": "Ledger",
      "source_app_bundle_identifier": "com.example.ledger", "source_app_pid": 43,
      "text": "net income", "bbox": [124, 144, 194, 160]}})"));
}

TEST(SelectionOnlyMode, NoContextPrintsNull) {
  // No focused element anywhere, and no frontmost application to ask.
  auto desktop = fake::loadSceneOrThrow(R"({"applications": [{"pid": 7, "name": "Notes"}],
    "windowList": [{"pid": 7, "name": "Notes", "bounds": [0, 25, 800, 600]}]})");
  CensusRun run = runCensus(*desktop, {{"TESSARY_OVERLAY_SELECTION_ONLY", "1"}});
  EXPECT_EQ(run.status, 0);
  json output = parsedOutput(run);
  ASSERT_TRUE(output.contains("selection_context"));
  EXPECT_TRUE(output["selection_context"].is_null());
  EXPECT_EQ(output.size(), 1u);
  EXPECT_EQ(linesOf(run.err), std::vector<std::string>{kBanner});
}

// An application with nothing to capture still gives a printed object.
struct EmptyCaptureCase {
  std::string label;
  std::string application;  // the application's "element" object, or "" for no application
};
void PrintTo(const EmptyCaptureCase& c, std::ostream* os) {
  *os << c.label;
}

class EmptyCapture : public ::testing::TestWithParam<EmptyCaptureCase> {};

TEST_P(EmptyCapture, EmptyElementsAndTextWithStatusZero) {
  std::string applications =
      GetParam().application.empty()
          ? "[]"
          : R"([{"pid": 7, "name": "Ledger", "element": )" + GetParam().application + "}]";
  auto desktop = fake::loadSceneOrThrow(
      R"({"applications": )" + applications +
      R"(, "windowList": [{"pid": 7, "owner": "Ledger", "name": "Books", "bounds": [0, 25, 800, 600]}]})");
  CensusRun run = runCensus(*desktop);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(parsedOutput(run), json::parse(R"({"elements": [], "formatted_text": ""})"));
  EXPECT_EQ(linesOf(run.err).back(), "DEBUG: Processed target PID 7 in 0.00s, got 0 root elements");
  // No window was chosen, so none was logged.
  EXPECT_TRUE(driver_test::linesStartingWith(run.err, "DEBUG WINDOW").empty());
  EXPECT_TRUE(driver_test::linesStartingWith(run.err, "DEBUG: Restricting").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, EmptyCapture,
    ::testing::Values(
        EmptyCaptureCase{"noWindows", R"({"windows": []})"},
        EmptyCaptureCase{"windowsUnreadable", R"({"windows": {"error": -25212}})"},
        EmptyCaptureCase{"windowsWithoutValue", R"({"windows": null})"},
        EmptyCaptureCase{"windowsNotElements", R"({"attributes": {"AXWindows": ["Books"]}})"},
        EmptyCaptureCase{"windowsNotAList",
                         R"({"attributes": {"AXWindows": {"rect": [0, 25, 800, 600]}}})"},
        // The window list names a process that accessibility does not know.
        EmptyCaptureCase{"noSuchApplication", ""}),
    [](const ::testing::TestParamInfo<EmptyCaptureCase>& info) { return info.param.label; });

// Keys ascending at every level of the parsed text, in the order written.
void expectSortedKeys(const nlohmann::ordered_json& value, const std::string& path) {
  if (value.is_array()) {
    for (size_t i = 0; i < value.size(); ++i)
      expectSortedKeys(value[i], path + "[" + std::to_string(i) + "]");
    return;
  }
  if (!value.is_object()) return;
  std::string previous;
  bool first = true;
  for (const auto& [key, member] : value.items()) {
    if (!first) {
      EXPECT_LT(previous, key) << "at " << path;
    }
    first = false;
    previous = key;
    expectSortedKeys(member, path + "." + key);
  }
}

TEST(PrintedObject, ValidJsonSortedKeysOneTrailingNewline) {
  struct Run {
    std::string scene;
    Environment environment;
  };
  for (const Run& r :
       {Run{"find_panel_in_front.json", {}},
        Run{"untitled_editor.json", {{"TESSARY_OVERLAY_EXCLUDED_PID", "900"}}},
        Run{"background_in_front.json", {{"TESSARY_OVERLAY_SELECTION_ONLY", "1"}}}}) {
    SCOPED_TRACE(r.scene);
    auto desktop = loadDriverScene(r.scene);
    CensusRun run = runCensus(*desktop, r.environment);
    ASSERT_EQ(run.status, 0);
    ASSERT_GE(run.out.size(), 3u);
    EXPECT_EQ(run.out.front(), '{');
    EXPECT_EQ(run.out.substr(run.out.size() - 2), "}\n");
    nlohmann::ordered_json parsed = nlohmann::ordered_json::parse(run.out, nullptr, false);
    ASSERT_FALSE(parsed.is_discarded()) << run.out;
    expectSortedKeys(parsed, "");
    if (!parsed.contains("selection_context")) {
      // Every root with its subtree, nested children included.
      ASSERT_FALSE(parsed["elements"].empty());
      EXPECT_FALSE(parsed["elements"][0]["children"].empty());
    }
  }
}

}  // namespace
}  // namespace tessary
