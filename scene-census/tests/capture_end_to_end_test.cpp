// The built program, started as the host starts it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "scene-census/tests/driver_harness.h"
#include "testsupport/run_binary.h"

namespace tessary {
namespace {

using nlohmann::json;

testing::BinaryRun census(const std::string& scene,
                          std::map<std::string, std::string> environment = {}) {
  environment["TESSARY_SIM_DESKTOP"] = driver_test::driverScenePath(scene);
  return testing::runBinary("scene-census", {}, environment);
}

TEST(SceneCensusProgram, UntrustedExitsSilently) {
  testing::BinaryRun run = census("untrusted.json");
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

TEST(SceneCensusProgram, CapturesTheDocumentBehindItsFindPanel) {
  testing::BinaryRun run = census("find_panel_in_front.json");
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(driver_test::hasLine(
      run.err,
      "DEBUG: Target window owner='TextPad' pid=42 name='Chapter 3.txt' bounds=(200.0, 60.0, "
      "1200.0, 800.0)"))
      << run.err;
  ASSERT_EQ(run.out.back(), '\n');
  json output = json::parse(run.out);
  EXPECT_EQ(driver_test::rootNames(output), std::vector<std::string>{"Chapter 3.txt"});
  EXPECT_NE(output["formatted_text"].get<std::string>().find("Call me Ishmael."), std::string::npos)
      << output["formatted_text"];
}

TEST(SceneCensusProgram, NoTarget) {
  testing::BinaryRun run = census("untitled_editor.json", {{"TESSARY_OVERLAY_TARGET_PID", "44"}});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(driver_test::linesOf(run.err).back(),
            "ERROR: Could not determine top visible target window");
}

TEST(SceneCensusProgram, SelectionOnly) {
  testing::BinaryRun run =
      census("background_in_front.json", {{"TESSARY_OVERLAY_SELECTION_ONLY", "1"}});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(json::parse(run.out)["selection_context"]["source_kind"], "selected_text");
}

}  // namespace
}  // namespace tessary
