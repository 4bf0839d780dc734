// The pane-raise program as the host runs it, on the demo desktop (overlay
// excluded as the host does) and on a scene of its own.
#include <gtest/gtest.h>

#include <map>

#include "pane-raise/tests/raise_run.h"
#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary::paneraise {
namespace {

TEST(RaiseBinary, OnTheDemoDesktop) {
  const std::map<std::string, std::string> environment{
      {"TESSARY_SIM_DESKTOP", tessary::testing::sourcePath("demo/desktop.json")},
      {"TESSARY_OVERLAY_EXCLUDED_PID", "900"}};
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"640", "420"},
       "activated owner=Google Chrome pid=501 window=Inbox - Mail - Google Chrome raised=true\n"},
      // Notes, mostly under the browser, where it shows.
      {{"100", "400"}, "activated owner=Notes pid=502 window=Groceries raised=true\n"},
      // Under the menu bar.
      {{"1300", "12"}, "activated owner=Finder pid=300 window=Downloads raised=true\n"},
      {{"1490", "500"}, "no_window\n"}};
  for (const auto& [arguments, expected] : cases) {
    tessary::testing::BinaryRun run =
        tessary::testing::runBinary("pane-raise", arguments, environment);
    EXPECT_EQ(run.out, expected) << arguments[0];
    EXPECT_EQ(run.exitStatus, 0) << arguments[0];
    EXPECT_EQ(run.err, "") << arguments[0];
  }
}

TEST(RaiseBinary, ErrorsOnStandardOutput) {
  const std::map<std::string, std::string> environment{
      {"TESSARY_SIM_DESKTOP", testing::scenePath("windows_under_points.json")}};
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"10"}, "error: usage: pane-raise <x> <y>\n"},
      {{"10", "2e3"}, "error: invalid coordinates\n"}};
  for (const auto& [arguments, expected] : cases) {
    tessary::testing::BinaryRun run =
        tessary::testing::runBinary("pane-raise", arguments, environment);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "");
  }
  tessary::testing::BinaryRun raised =
      tessary::testing::runBinary("pane-raise", {"200", "10"}, environment);
  EXPECT_EQ(raised.out, "activated owner=Editor pid=501 window=Report raised=true\n");
  EXPECT_EQ(raised.exitStatus, 0);
}

}  // namespace
}  // namespace tessary::paneraise
