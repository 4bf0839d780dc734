// TESSARY_OVERLAY_EXCLUDED_PID in its single-id and comma-list forms.
#include <gtest/gtest.h>

#include "common/exclusion.h"

namespace tessary {
namespace {

using Pids = std::set<int32_t>;

struct ExclusionCase {
  std::optional<std::string> value;  // nullopt: variable not set
  Pids single;
  Pids list;
};

const ExclusionCase kCases[] = {
    {std::nullopt, {}, {}},
    {"", {}, {}},
    {"123", {123}, {123}},
    {"+123", {123}, {123}},
    {"-5", {-5}, {-5}},
    {"0", {0}, {0}},
    {"abc", {}, {}},
    {"12a", {}, {}},
    {"2147483647", {2147483647}, {2147483647}},
    {"2147483648", {}, {}},
    {"-2147483648", {INT32_MIN}, {INT32_MIN}},
    {" 123", {}, {123}},
    {"123\n", {}, {123}},
    {"0x1F", {}, {}},
    {"123, 456", {}, {123, 456}},
    {"123,456", {}, {123, 456}},
    {"501, 502, abc", {}, {501, 502}},
    {",,7,,", {}, {7}},
    {"7, ,8", {}, {7, 8}},
    {"9,9, 9", {}, {9}},
    {"\u00a012\u2028,\t13\r\n", {}, {12, 13}},
    {"1 2", {}, {}},
    {"99999999999,4", {}, {4}},
    {"\xd9\xa1", {}, {}},  // an Arabic-Indic digit is not a decimal digit here
};

TEST(ExcludedPids, SingleAndListForms) {
  for (const auto& c : kCases) {
    Environment environment{{"OTHER", "1"}};
    if (c.value) environment[kExcludedPidVariable] = *c.value;
    const std::string label = c.value ? "[" + *c.value + "]" : "(unset)";
    EXPECT_EQ(getExcludedPIDs(environment), c.single) << label;
    EXPECT_EQ(getExcludedPIDList(environment), c.list) << label;
  }
}

TEST(ExcludedPids, VariableNameIsCaseSensitive) {
  const Environment environment{{"tessary_overlay_excluded_pid", "5"}};
  EXPECT_TRUE(getExcludedPIDs(environment).empty());
  EXPECT_TRUE(getExcludedPIDList(environment).empty());
}

}  // namespace
}  // namespace tessary
