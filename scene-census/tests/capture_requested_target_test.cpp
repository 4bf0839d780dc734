// The host's narrowing of the target: one process, or one screen region.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "scene-census/capture/target_window.h"

namespace tessary {
namespace {

struct PidCase {
  std::optional<std::string> value;
  std::optional<int32_t> expected;
};

class RequestedTargetPid : public ::testing::TestWithParam<PidCase> {};

TEST_P(RequestedTargetPid, StrictDecimal) {
  Environment environment;
  if (GetParam().value) environment[kTargetPidVariable] = *GetParam().value;
  EXPECT_EQ(getRequestedTargetPID(environment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RequestedTargetPid,
    ::testing::Values(PidCase{std::nullopt, std::nullopt}, PidCase{"", std::nullopt},
                      PidCase{"123", 123}, PidCase{"+123", 123}, PidCase{"-5", -5}, PidCase{"0", 0},
                      PidCase{" 123", std::nullopt}, PidCase{"123 ", std::nullopt},
                      PidCase{"12a", std::nullopt}, PidCase{"0x10", std::nullopt},
                      PidCase{"2147483647", 2147483647}, PidCase{"2147483648", std::nullopt},
                      PidCase{"1,2", std::nullopt}));

struct ScopeCase {
  std::string value;
  std::optional<Rect> expected;
};

class RequestedScopeBounds : public ::testing::TestWithParam<ScopeCase> {};

TEST_P(RequestedScopeBounds, FourFiniteNumbersWithPositiveSize) {
  Environment environment{{kScopeBoundsVariable, GetParam().value}};
  EXPECT_EQ(getRequestedScopeBounds(environment), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RequestedScopeBounds,
    ::testing::Values(
        ScopeCase{"10,20,300,400", Rect{10, 20, 300, 400}},
        ScopeCase{" 10 , 20\t,300, 400\n", Rect{10, 20, 300, 400}},
        ScopeCase{"10,,20,300,400", Rect{10, 20, 300, 400}},
        ScopeCase{",10,20,300,400,", Rect{10, 20, 300, 400}},
        ScopeCase{"-3.5,1e1,2.5E2,0.5", Rect{-3.5, 10, 250, 0.5}},
        ScopeCase{"10,20,300", std::nullopt}, ScopeCase{"10,20,300,400,5", std::nullopt},
        ScopeCase{"10,20,0,400", std::nullopt}, ScopeCase{"10,20,-3,400", std::nullopt},
        ScopeCase{"10, ,20,300", std::nullopt}, ScopeCase{"10,20,300,4x", std::nullopt},
        ScopeCase{"inf,0,10,10", std::nullopt}, ScopeCase{"0,0,nan,10", std::nullopt},
        ScopeCase{"10 20 300 400", std::nullopt}, ScopeCase{"", std::nullopt}));

TEST(RequestedScopeBounds, AbsentVariable) {
  EXPECT_EQ(getRequestedScopeBounds(Environment{}), std::nullopt);
}

}  // namespace
}  // namespace tessary
