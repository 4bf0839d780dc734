// The real frost-curtain binary on a simulated desktop, fed through a pipe
// the way the host feeds it.
#include <gtest/gtest.h>

#include "testsupport/interactive_binary.h"
#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary::curtain {
namespace {

using tessary::testing::BinaryRun;
using tessary::testing::InteractiveBinary;

std::map<std::string, std::string> sceneEnvironment(const std::string& scene) {
  return {
      {"TESSARY_SIM_DESKTOP", tessary::testing::sourcePath("frost-curtain/tests/scenes/" + scene)}};
}

TEST(FrostCurtainBinary, AnswersEachCommandAsTheHostWaitsForIt) {
  InteractiveBinary curtain("frost-curtain", {}, sceneEnvironment("one-screen.json"));
  EXPECT_EQ(curtain.readLine(), "ready");
  curtain.write("show 1\n");
  EXPECT_EQ(curtain.readLine(), "shown 1");
  curtain.write("  hide 2 \r\n");
  EXPECT_EQ(curtain.readLine(), "hidden 2");
  // One command split across two writes.
  curtain.write("co");
  curtain.write("py\n");
  EXPECT_EQ(curtain.readLine(), "copied");
  curtain.write("show +3\n");
  EXPECT_EQ(curtain.readLine(), "shown 3");
  BinaryRun end = curtain.finish();
  EXPECT_EQ(end.exitStatus, 0);
  EXPECT_EQ(end.out, "");
  EXPECT_EQ(end.err, "");
}

TEST(FrostCurtainBinary, ErrorLinesAndTwoCommandsInOneRead) {
  BinaryRun run = tessary::testing::runBinary(
      "frost-curtain", {}, sceneEnvironment("one-screen.json"),
      "show\nshow x\nshow 1 2\nshow  1\nSHOW 1\nhide\r\ncopy\ncopy\nshow 4");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, "ready\ncopied\ncopied\n");  // the last line has no line feed
  EXPECT_EQ(run.err,
            "error: show command requires id\n"
            "error: show command requires id\n"
            "error: show command requires id\n"
            "error: show command requires id\n"
            "error: unknown command SHOW 1\n"
            "error: hide command requires id\n");
}

TEST(FrostCurtainBinary, EndsAtEndOfInputAndOnExit) {
  BinaryRun closed = tessary::testing::runBinary("frost-curtain", {"--tuning", "0.3"},
                                                 sceneEnvironment("one-screen.json"));
  EXPECT_EQ(closed.exitStatus, 0);
  EXPECT_EQ(closed.out, "ready\n");
  BinaryRun exited = tessary::testing::runBinary(
      "frost-curtain", {}, sceneEnvironment("one-screen.json"), "exit\ncopy\n");
  EXPECT_EQ(exited.exitStatus, 0);
  EXPECT_EQ(exited.out, "ready\n");
}

TEST(FrostCurtainBinary, NoScreenIsAnErrorLine) {
  BinaryRun run = tessary::testing::runBinary("frost-curtain", {},
                                              sceneEnvironment("no-screen.json"), "show 1\n");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "error: could not resolve active screen\n");
}

}  // namespace
}  // namespace tessary::curtain
