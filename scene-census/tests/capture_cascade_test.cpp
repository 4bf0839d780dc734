// Two thousand cascaded windows of one application: the run finishes and
// captures the frontmost one, paired with its own entry although hundreds of
// entries share its frame.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "scene-census/tests/driver_harness.h"

namespace tessary {
namespace {

using nlohmann::json;

constexpr int kWindows = 2000;

// Window i (0 = frontmost) is "Chapter i". Each older window sits 10 points
// left of and 8 points above the next newer one, forty steps deep, then the
// cascade starts again; the frontmost is at (390, 337).
std::string cascadeScene() {
  json axWindows = json::array();
  json windowList = json::array();
  for (int i = 0; i < kWindows; ++i) {
    int step = (kWindows - 1 - i) % 40;
    json frame = {10 * step, 25 + 8 * step, 800, 500};
    std::string title = "Chapter " + std::to_string(i);
    axWindows.push_back({{"role", "AXWindow"}, {"title", title}, {"frame", frame}});
    windowList.push_back({{"pid", 42}, {"name", title}, {"bounds", frame}});
  }
  axWindows[0]["children"] = json::array({{{"role", "AXStaticText"},
                                           {"value", "It was a dark night."},
                                           {"frame", {400, 400, 300, 20}}}});
  json scene = {{"mainScreen", {0, 0, 1512, 982}},
                {"applications",
                 {{{"pid", 42},
                   {"name", "Writer"},
                   {"element", {{"id", "writer"}, {"windows", axWindows}}}}}},
                {"windowList", windowList}};
  return scene.dump();
}

TEST(Cascade, TwoThousandWindowsCaptureTheFrontmost) {
  auto desktop = fake::loadSceneOrThrow(cascadeScene());
  driver_test::CensusRun run = driver_test::runCensus(*desktop);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(driver_test::hasLine(run.err, "Built visibility index with 2000 windows"));
  EXPECT_TRUE(driver_test::hasLine(
      run.err,
      "DEBUG: Target window owner='Writer' pid=42 name='Chapter 0' bounds=(390.0, 337.0, 800.0, "
      "500.0)"));
  EXPECT_EQ(driver_test::linesStartingWith(run.err, "DEBUG WINDOW"),
            std::vector<std::string>{"DEBUG WINDOW: 'Chapter 0' has 1 visible rects (screen "
                                     "coords): [[390, 337, 1190, 837]]"});
  json output = driver_test::parsedOutput(run);
  EXPECT_EQ(driver_test::rootNames(output), std::vector<std::string>{"Chapter 0"});
  EXPECT_NE(output["formatted_text"].get<std::string>().find("It was a dark night."),
            std::string::npos);
}

}  // namespace
}  // namespace tessary
