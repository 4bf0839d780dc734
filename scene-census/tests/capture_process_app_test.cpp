// The capture of the target's application: which accessibility window is
// captured, which window-server window it is paired with (that decides its
// visible rectangles), the include-all mode, and the application name.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "scene-census/tests/driver_harness.h"

namespace tessary {
namespace {

using driver_test::CensusRun;
using driver_test::linesStartingWith;
using driver_test::parsedOutput;
using driver_test::runCensus;
using nlohmann::json;

// pid 42's accessibility windows and the window server's list, front to
// back; the target is the frontmost window of the list.
std::unique_ptr<fake::FakeDesktop> browserDesktop(const std::string& axWindows,
                                                  const std::string& windowList) {
  return fake::loadSceneOrThrow(
      R"({"mainScreen": [0, 0, 1440, 900],
          "applications": [{"pid": 42, "name": "Browser", "element": {"id": "browser", "windows": )" +
      axWindows + R"(}}, {"pid": 43, "name": "Mail"}],
          "windowList": )" +
      windowList + "}");
}

struct PairingCase {
  std::string label;
  std::string axWindows;
  std::string windowList;
  std::vector<std::string> windowLines;  // the "DEBUG WINDOW" lines, one per root
  bool restricted = true;                // a window was chosen to match the target
};
void PrintTo(const PairingCase& c, std::ostream* os) {
  *os << c.label;
}

class WindowChoiceAndPairing : public ::testing::TestWithParam<PairingCase> {};

TEST_P(WindowChoiceAndPairing, CapturesThePairedWindow) {
  const PairingCase& c = GetParam();
  auto desktop = browserDesktop(c.axWindows, c.windowList);
  CensusRun run = runCensus(*desktop);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(linesStartingWith(run.err, "DEBUG WINDOW"), c.windowLines) << run.err;
  EXPECT_EQ(linesStartingWith(run.err, "DEBUG: Restricting").size(), c.restricted ? 1u : 0u);
  EXPECT_EQ(parsedOutput(run)["elements"].size(), c.windowLines.size());
}

const std::string kReportList =
    R"([{"pid": 42, "name": "Report", "bounds": [100, 100, 800, 600]}])";
// Two windows of the browser, the inbox in front of the right-hand calendar.
const std::string kTwoTabsList =
    R"([{"pid": 42, "name": "Inbox - Mail - Google Chrome", "bounds": [0, 25, 800, 600]},
        {"pid": 42, "name": "Calendar - Google Chrome", "bounds": [400, 25, 800, 600]}])";

INSTANTIATE_TEST_SUITE_P(
    Table, WindowChoiceAndPairing,
    ::testing::Values(
        // Choice: the title bonus outweighs any overlap.
        PairingCase{"titleBeatsOverlap",
                    R"([{"title": "Draft", "frame": [100, 100, 800, 600]},
                        {"title": "Report", "frame": [400, 400, 600, 400]}])",
                    kReportList,
                    {"DEBUG WINDOW: 'Report' has 1 visible rects (screen coords): "
                     "[[100, 100, 900, 700]]"}},
        PairingCase{"bestOverlapWithoutTitle",
                    R"([{"title": "Notes", "frame": [700, 500, 600, 300]},
                        {"title": "Inbox", "frame": [120, 110, 800, 600]}])",
                    kReportList,
                    {"DEBUG WINDOW: 'Inbox' has 1 visible rects (screen coords): "
                     "[[100, 100, 900, 700]]"}},
        PairingCase{"equalScoresGoToTheFirst",
                    R"([{"title": "Alpha", "frame": [100, 100, 800, 600]},
                        {"title": "Beta", "frame": [100, 100, 800, 600]}])",
                    kReportList,
                    {"DEBUG WINDOW: 'Alpha' has 1 visible rects (screen coords): "
                     "[[100, 100, 900, 700]]"}},
        PairingCase{"titlesTrimmedBeforeComparing",
                    R"([{"title": "Draft", "frame": [100, 100, 800, 600]},
                        {"title": " Report", "frame": [400, 400, 600, 400]}])",
                    R"([{"pid": 42, "name": "Report\t", "bounds": [100, 100, 800, 600]}])",
                    {"DEBUG WINDOW: ' Report' has 1 visible rects (screen coords): "
                     "[[100, 100, 900, 700]]"}},
        PairingCase{"untitledMatchesUntitled",
                    R"([{"title": "Sidebar", "frame": [100, 100, 800, 600]},
                        {"frame": [300, 300, 500, 400]}])",
                    R"([{"pid": 42, "bounds": [100, 100, 800, 600]}])",
                    {"DEBUG WINDOW: 'untitled' has 1 visible rects (screen coords): "
                     "[[100, 100, 900, 700]]"}},
        // Windows without position or size cannot be compared nor captured.
        PairingCase{"noWindowHasAFrame",
                    R"([{"title": "Report", "position": [100, 100]},
                        {"title": "Report", "size": [800, 600]}])",
                    kReportList,
                    {},
                    false},
        // Pairing: a roughly matching title outweighs a perfect overlap, so the
        // inbox's pieces are used although the frame is the calendar's.
        PairingCase{"pairedByTitle",
                    R"([{"title": "Inbox - Mail", "frame": [400, 25, 800, 600]}])",
                    kTwoTabsList,
                    {"DEBUG WINDOW: 'Inbox - Mail' has 1 visible rects (screen coords): "
                     "[[0, 25, 800, 625]]"}},
        PairingCase{"pairedByOverlap",
                    R"([{"title": "Untitled draft", "frame": [400, 25, 800, 600]}])",
                    kTwoTabsList,
                    {"DEBUG WINDOW: 'Untitled draft' has 1 visible rects (screen coords): "
                     "[[800, 25, 1200, 625]]"}},
        PairingCase{"pairedEntryFullyCovered",
                    R"([{"title": "Hidden palette", "frame": [100, 100, 300, 300]}])",
                    R"([{"pid": 42, "name": "Main", "bounds": [0, 25, 800, 600]},
                        {"pid": 42, "name": "Hidden palette", "bounds": [100, 100, 300, 300]}])",
                    {}},
        // Only the application's own entries are candidates: the one matching
        // window-server window belongs to Mail, so the window pairs with the
        // browser's other window and shows nothing of its frame.
        PairingCase{"onlyEntriesOfTheProcess",
                    R"([{"title": "Report", "frame": [0, 25, 800, 600]}])",
                    R"([{"pid": 42, "name": "Draft", "bounds": [820, 25, 600, 600]},
                        {"pid": 43, "name": "Report", "bounds": [0, 25, 800, 600]}])",
                    {}},
        // Screen coordinates start at the screen edge.
        PairingCase{"hangingOffTheLeftEdge",
                    R"([{"title": "Terminal", "frame": [-200, 25, 800, 600]}])",
                    R"([{"pid": 42, "name": "Terminal", "bounds": [-200, 25, 800, 600]}])",
                    {"DEBUG WINDOW: 'Terminal' has 1 visible rects (screen coords): "
                     "[[0, 25, 600, 625]]"}},
        // Pieces thinner than a point vanish when made integers.
        PairingCase{"onlySliversVisible",
                    R"([{"title": "Back", "frame": [0, 25, 800, 600]}])",
                    R"([{"pid": 42, "name": "Front", "bounds": [0.5, 25.5, 799.5, 599.5]},
                        {"pid": 42, "name": "Back", "bounds": [0, 25, 800, 600]}])",
                    {}}),
    [](const ::testing::TestParamInfo<PairingCase>& info) { return info.param.label; });

// The include-all mode over Sheets' windows: each accessibility window pairs
// with its own entry; a pairing by overlap alone must overlap well and have
// an untitled side; "Background" windows are never captured.
struct IncludeAllCase {
  std::string label;
  Environment environment;
  std::vector<std::string> windowLines;
  std::string indexLine;
};
void PrintTo(const IncludeAllCase& c, std::ostream* os) {
  *os << c.label;
}

class IncludeAllWindows : public ::testing::TestWithParam<IncludeAllCase> {};

const std::vector<std::string> kAllSheetsWindows = {
    "DEBUG WINDOW: 'Notes on Q3' has 3 visible rects (screen coords): "
    "[[500, 700, 1150, 800], [1000, 300, 1400, 650], [1000, 650, 1150, 700]]",
    "DEBUG WINDOW: 'untitled' has 1 visible rects (screen coords): [[1150, 650, 1400, 850]]",
    "DEBUG WINDOW: 'Swatches' has 1 visible rects (screen coords): [[1150, 650, 1400, 850]]",
    "DEBUG WINDOW: 'Budget 2024' has 1 visible rects (screen coords): [[100, 100, 1000, 700]]"};

TEST_P(IncludeAllWindows, CapturesThePairedWindows) {
  const IncludeAllCase& c = GetParam();
  auto desktop = driver_test::loadDriverScene("two_documents.json");
  CensusRun run = runCensus(*desktop, c.environment);
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(linesStartingWith(run.err, "DEBUG WINDOW"), c.windowLines) << run.err;
  EXPECT_TRUE(driver_test::hasLine(run.err, c.indexLine)) << run.err;
  bool includeAll = c.windowLines.size() > 1;
  EXPECT_EQ(linesStartingWith(run.err,
                              "DEBUG: FORM_TESTS_INCLUDE_ALL_AX_WINDOWS active, "
                              "processing all visible windows for PID 42")
                .size(),
            includeAll ? 1u : 0u);
  EXPECT_EQ(linesStartingWith(run.err,
                              "DEBUG: Restricting AX traversal to top window "
                              "'Budget 2024' for PID 42")
                .size(),
            includeAll ? 0u : 1u);
  json output = parsedOutput(run);
  EXPECT_EQ(output["elements"].size(), c.windowLines.size());
  for (const json& root : output["elements"])
    EXPECT_EQ(root["app_name"], "Sheets");
}

INSTANTIATE_TEST_SUITE_P(
    Table, IncludeAllWindows,
    ::testing::Values(IncludeAllCase{"targetWindowOnly",
                                     {},
                                     {kAllSheetsWindows.back()},
                                     "Built visibility index with 4 windows"},
                      IncludeAllCase{"includeAll",
                                     {{"FORM_TESTS_INCLUDE_ALL_AX_WINDOWS", "true"}},
                                     kAllSheetsWindows,
                                     "Built visibility index with 4 windows"},
                      // Form-tests mode includes all as well, and its index leaves the
                      // window-server "Background" out.
                      IncludeAllCase{"formTestsMode",
                                     {{"FORM_TESTS_MODE", "true"}},
                                     kAllSheetsWindows,
                                     "Built visibility index with 3 windows"},
                      IncludeAllCase{"includeAllWithoutTheExactText",
                                     {{"FORM_TESTS_INCLUDE_ALL_AX_WINDOWS", "1"}},
                                     {kAllSheetsWindows.back()},
                                     "Built visibility index with 4 windows"}),
    [](const ::testing::TestParamInfo<IncludeAllCase>& info) { return info.param.label; });

// Every copy of a window listed many times would be the whole tree again.
TEST(RepeatedWindows, AWindowListedManyTimesIsCapturedOnce) {
  auto desktop = browserDesktop(
      R"([{"id": "report", "role": "AXWindow", "title": "Report", "frame": [100, 100, 800, 600],
           "children": [{"role": "AXButton", "frame": [120, 120, 40, 20]}]},
          {"ref": "report"}, {"ref": "report"},
          {"role": "AXWindow", "title": "Report", "frame": [100, 100, 800, 600]}])",
      kReportList);
  CensusRun run = runCensus(*desktop, {{"FORM_TESTS_INCLUDE_ALL_AX_WINDOWS", "true"}});
  ASSERT_EQ(run.status, 0) << run.err;
  // The listed window once, and the other window of the same title.
  EXPECT_EQ(linesStartingWith(run.err, "DEBUG WINDOW").size(), 2u) << run.err;
  json output = parsedOutput(run);
  ASSERT_EQ(output["elements"].size(), 2u);
  EXPECT_EQ(output["elements"][0]["children"].size(), 1u);
  EXPECT_TRUE(output["elements"][1]["children"].empty());
}

// A Workspace that lists no running application.
class NoRunningApplications : public Workspace {
 public:
  std::vector<RunningApplication> runningApplications() override { return {}; }
  std::optional<RunningApplication> frontmostApplication() override { return std::nullopt; }
  std::optional<RunningApplication> runningApplication(int32_t) override { return std::nullopt; }
  bool activateApplication(int32_t, uint32_t) override { return false; }
};

TEST(ApplicationName, LocalizedNameAbsentOrPid) {
  const std::string windows = R"([{"role": "AXWindow", "title": "Notes", "frame": [0, 25, 800, 600],
      "children": [{"role": "AXButton", "title": "Share", "frame": [700, 30, 60, 20]}]}])";
  const std::string list =
      R"([{"pid": 42, "owner": "Notes", "name": "Notes", "bounds": [0, 25, 800, 600]}])";
  auto named = fake::loadSceneOrThrow(R"({"applications": [{"pid": 42, "name": "Notes",
      "element": {"windows": )" + windows +
                                      R"(}}], "windowList": )" + list + "}");
  auto unnamed = fake::loadSceneOrThrow(R"({"applications": [{"pid": 42,
      "element": {"windows": )" + windows +
                                        R"(}}], "windowList": )" + list + "}");

  json namedRoot = parsedOutput(runCensus(*named))["elements"][0];
  EXPECT_EQ(namedRoot["app_name"], "Notes");
  // Only windows carry the name; the button below does not.
  EXPECT_FALSE(namedRoot["children"][0].contains("app_name"));

  EXPECT_FALSE(parsedOutput(runCensus(*unnamed))["elements"][0].contains("app_name"));

  NoRunningApplications workspace;
  Platform& real = named->platform();
  Platform platform{real.accessibility, real.windowServer, real.screens,          workspace,
                    real.clock,         real.hostWindows,  real.speechRecognizer, real.inputState,
                    real.application,   real.compositor,   real.pasteboard,       real.random,
                    real.tuningPanel};
  json unlisted = parsedOutput(runCensus(platform))["elements"][0];
  EXPECT_EQ(unlisted["app_name"], "PID 42");
}

}  // namespace
}  // namespace tessary
