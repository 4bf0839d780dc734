// The hit-probe program as the host runs it: one line on standard output,
// nothing on standard error, and the exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "hit-probe/tests/probe_run.h"
#include "testsupport/run_binary.h"

namespace tessary::hitprobe {
namespace {

struct BinaryCase {
  const char* name;
  const char* scene;
  std::vector<std::string> arguments;
  const char* excludedPid;
  int expectedStatus;
  const char* expectedOut;  // a whole line, or "{" for a JSON report
  const char* expectedStatusKey;
};

void PrintTo(const BinaryCase& c, std::ostream* os) {
  *os << c.name;
}

class ProbeBinary : public ::testing::TestWithParam<BinaryCase> {};

TEST_P(ProbeBinary, PrintsOneLineAndNothingOnStandardError) {
  const BinaryCase& c = GetParam();
  std::map<std::string, std::string> environment{
      {"TESSARY_SIM_DESKTOP", testing::scenePath(c.scene)}};
  if (c.excludedPid) environment["TESSARY_OVERLAY_EXCLUDED_PID"] = c.excludedPid;
  std::vector<std::string> arguments;
  for (const std::string& argument : c.arguments)
    arguments.push_back(testing::resolveKey(argument));

  tessary::testing::BinaryRun run =
      tessary::testing::runBinary("hit-probe", arguments, environment);
  EXPECT_EQ(run.exitStatus, c.expectedStatus);
  EXPECT_EQ(run.err, "");
  if (std::string(c.expectedOut) != "{") {
    EXPECT_EQ(run.out, c.expectedOut);
    return;
  }
  nlohmann::json report = testing::parseReportLine(run.out);
  EXPECT_EQ(report["status"], c.expectedStatusKey);
  // Exactly the keys of the report: the hit object's only in a blocked one.
  std::vector<std::string> keys;
  for (const auto& item : report.items())
    keys.push_back(item.key());
  std::sort(keys.begin(), keys.end());
  if (std::string(c.expectedStatusKey) == "match") {
    EXPECT_EQ(keys, (std::vector<std::string>{"status", "x", "y"}));
  } else {
    EXPECT_EQ(keys, (std::vector<std::string>{"hit", "status", "x", "y"}));
    EXPECT_TRUE(report["x"].is_number_integer() && report["y"].is_number_integer());
    EXPECT_TRUE(report["hit"]["id"].is_string() && report["hit"]["role"].is_string() &&
                report["hit"]["label"].is_string());
  }
}

constexpr const char* kSend = "key:AXButton|semantic:send|button|grid:2,1,1,1";

INSTANTIATE_TEST_SUITE_P(
    Runs, ProbeBinary,
    ::testing::Values(BinaryCase{"usage",
                                 "two_windows_apart.json",
                                 {"e0", "1", "2"},
                                 nullptr,
                                 1,
                                 "error: usage: hit-probe <target-id> <x> <y> <width> <height>\n",
                                 nullptr},
                      BinaryCase{"invalidBox",
                                 "two_windows_apart.json",
                                 {"e0", "1", "2", "3.0", "4"},
                                 nullptr,
                                 1,
                                 "error: invalid bbox\n",
                                 nullptr},
                      BinaryCase{"noMatch",
                                 "two_windows_apart.json",
                                 {"e0", "300", "300", "100", "100"},
                                 nullptr,
                                 0,
                                 "no_match\n",
                                 nullptr},
                      BinaryCase{"matchThroughTheOverlay",
                                 "overlay_covers_the_button.json",
                                 {kSend, "130", "70", "70", "30"},
                                 "900",
                                 0,
                                 "{",
                                 "match"},
                      BinaryCase{"blockedByTheOverlay",
                                 "overlay_covers_the_button.json",
                                 {kSend, "130", "70", "70", "30"},
                                 nullptr,
                                 0,
                                 "{",
                                 "blocked"},
                      // A value that is not one process id excludes nothing.
                      BinaryCase{"blockedWhenTheExclusionDoesNotParse",
                                 "overlay_covers_the_button.json",
                                 {kSend, "130", "70", "70", "30"},
                                 "900,901",
                                 0,
                                 "{",
                                 "blocked"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::hitprobe
