// hit-probe's command line: the usage and invalid-box lines, and which
// numbers count as integers.
#include <gtest/gtest.h>

#include "hit-probe/tests/probe_run.h"

namespace tessary::hitprobe {
namespace {

constexpr const char* kUsage = "error: usage: hit-probe <target-id> <x> <y> <width> <height>\n";
constexpr const char* kInvalid = "error: invalid bbox\n";

struct ArgumentsCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* expectedOut;
  int expectedStatus;
};

void PrintTo(const ArgumentsCase& c, std::ostream* os) {
  *os << c.name;
}

class ProbeArguments : public ::testing::TestWithParam<ArgumentsCase> {};

// Every valid box here lies where two_windows_apart.json has no window.
TEST_P(ProbeArguments, AnswerOnStandardOutputOnly) {
  const ArgumentsCase& c = GetParam();
  testing::ProbeRun run = testing::runProbe("two_windows_apart.json", c.arguments);
  ASSERT_TRUE(run.desktop);
  EXPECT_EQ(run.out, c.expectedOut);
  EXPECT_EQ(run.status, c.expectedStatus);
  EXPECT_EQ(run.err, "");
  // A rejected command line never reaches the desktop.
  if (c.expectedStatus != 0) {
    EXPECT_TRUE(run.desktop->calls().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rejected, ProbeArguments,
    ::testing::Values(
        ArgumentsCase{"noArguments", {}, kUsage, 1}, ArgumentsCase{"targetOnly", {"e0"}, kUsage, 1},
        ArgumentsCase{"heightMissing", {"e0", "300", "300", "100"}, kUsage, 1},
        ArgumentsCase{"decimalX", {"e0", "12.5", "300", "100", "100"}, kInvalid, 1},
        ArgumentsCase{"leadingSpaceY", {"e0", "300", " 12", "100", "100"}, kInvalid, 1},
        ArgumentsCase{"emptyWidth", {"e0", "300", "300", "", "100"}, kInvalid, 1},
        ArgumentsCase{"trailingSpaceHeight", {"e0", "300", "300", "100", "12 "}, kInvalid, 1},
        ArgumentsCase{"signAlone", {"e0", "+", "300", "100", "100"}, kInvalid, 1},
        ArgumentsCase{"hexadecimal", {"e0", "0x10", "300", "100", "100"}, kInvalid, 1},
        ArgumentsCase{"doubleSign", {"e0", "--12", "300", "100", "100"}, kInvalid, 1},
        ArgumentsCase{
            "beyond64Bits", {"e0", "9223372036854775808", "300", "100", "100"}, kInvalid, 1}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Accepted, ProbeArguments,
    ::testing::Values(
        ArgumentsCase{"plainDigits", {"e0", "300", "300", "100", "100"}, "no_match\n", 0},
        ArgumentsCase{"plusSigns", {"e0", "+300", "+300", "+100", "+100"}, "no_match\n", 0},
        ArgumentsCase{"minusSign", {"e0", "-12", "300", "100", "100"}, "no_match\n", 0},
        ArgumentsCase{
            "smallest64Bit", {"e0", "-9223372036854775808", "300", "1", "1"}, "no_match\n", 0},
        ArgumentsCase{
            "extraArgumentsIgnored", {"e0", "300", "300", "100", "100", "x", ""}, "no_match\n", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::hitprobe
