// The pane-scout program as the host runs it: lines on standard output only,
// the exit status, and a watch that ends when its standard input closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "pane-scout/tests/scout_run.h"
#include "testsupport/run_binary.h"

namespace tessary::panescout {
namespace {

using tessary::testing::BinaryRun;

std::map<std::string, std::string> sceneEnvironment(const std::string& scene) {
  return {{"TESSARY_SIM_DESKTOP", testing::scenePath(scene)}};
}

TEST(ScoutBinary, QueriesAnswerOnStandardOutputOnly) {
  const auto environment = sceneEnvironment("menu_bar_over_windows.json");
  BinaryRun at = tessary::testing::runBinary("pane-scout", {"at", "150", "10"}, environment);
  EXPECT_EQ(at.out,
            "ok pid=501 cgWindowId=11 x=100 y=0 w=400 h=300 owner=Editor title=Report Draft "
            "appBundle=/Applications/Editor.app\n");
  EXPECT_EQ(at.exitStatus, 0);
  EXPECT_EQ(at.err, "");

  BinaryRun unknown = tessary::testing::runBinary("pane-scout", {"resize"}, environment);
  EXPECT_EQ(unknown.out, "error unknown_command resize\n");
  EXPECT_EQ(unknown.exitStatus, 1);
  EXPECT_EQ(unknown.err, "");
}

size_t lineCount(const std::string& text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The window moves, is retitled, closes and comes back in virtual time; the
// host closes standard input once it has seen the last change.
TEST(ScoutBinary, WatchWritesEachChangeAndEndsWhenInputCloses) {
  BinaryRun run = tessary::testing::runBinaryClosingInputWhen(
      "pane-scout", {"watch", "42", "20"}, sceneEnvironment("window_moves_and_closes.json"),
      [](const std::string& out) { return lineCount(out) == 5; });
  EXPECT_EQ(run.out, testing::kWindowMovesAndClosesLines);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err, "");
}

TEST(ScoutBinary, WatchEndsAtOnceWhenInputIsClosedFromTheStart) {
  BinaryRun run = tessary::testing::runBinary("pane-scout", {"watch", "42"},
                                              sceneEnvironment("window_moves_and_closes.json"));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err, "");
  // It may have written its first answers before the reader saw the end;
  // whatever it wrote is whole lines of the timeline, in order.
  EXPECT_TRUE(run.out.empty() || run.out.starts_with("ok pid=42 cgWindowId=7 x=100 ")) << run.out;
  EXPECT_TRUE(run.out.empty() || run.out.ends_with("\n")) << run.out;
}

TEST(ScoutBinary, WatchArgumentErrors) {
  const auto environment = sceneEnvironment("window_moves_and_closes.json");
  BinaryRun invalid = tessary::testing::runBinary("pane-scout", {"watch", "abc"}, environment);
  EXPECT_EQ(invalid.out, "error invalid_pid\n");
  EXPECT_EQ(invalid.exitStatus, 1);
  BinaryRun usage = tessary::testing::runBinary("pane-scout", {"watch"}, environment);
  EXPECT_EQ(usage.out, "error usage: pane-scout watch <pid> [intervalMs]\n");
  EXPECT_EQ(usage.exitStatus, 1);
}

}  // namespace
}  // namespace tessary::panescout
