// Which argument lists reach the window work, and the window-id conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "pane_anchor/anchor_arguments.h"

namespace tessary::anchor {
namespace {

using enum ArgumentKind;

struct FitCase {
  const char* label;
  const Signature* signature;
  std::vector<ArgumentKind> given;
  bool fits;
  friend void PrintTo(const FitCase& c, std::ostream* os) { *os << c.label; }
};

class ArgumentsFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(ArgumentsFit, AcceptsExactlyTheRequiredKindsInOrder) {
  EXPECT_EQ(argumentsFit(GetParam().given, *GetParam().signature), GetParam().fits);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ArgumentsFit,
    ::testing::Values(
        FitCase{"PinNoArguments", &kPinAboveSignature, {}, false},
        FitCase{"PinOnlyTheHandle", &kPinAboveSignature, {buffer}, false},
        FitCase{"PinHandleAndNumber", &kPinAboveSignature, {buffer, number}, true},
        FitCase{
            "PinExtraArgumentsIgnored", &kPinAboveSignature, {buffer, number, other, buffer}, true},
        FitCase{"PinIdNotANumber", &kPinAboveSignature, {buffer, other}, false},
        FitCase{"PinArgumentsSwapped", &kPinAboveSignature, {number, buffer}, false},
        FitCase{"PinHandleNotABuffer", &kPinAboveSignature, {other, number}, false},
        FitCase{"OneArgumentNone", &kGetWindowNumberSignature, {}, false},
        FitCase{"OneArgumentBuffer", &kGetWindowNumberSignature, {buffer}, true},
        FitCase{"OneArgumentExtraIgnored", &kDescribeZOrderSignature, {buffer, other}, true},
        FitCase{"OneArgumentNumber", &kSetWindowLevelNormalSignature, {number}, false},
        FitCase{"OneArgumentOther", &kDescribeZOrderSignature, {other, buffer}, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Signatures, AreTheTypeErrorMessages) {
  EXPECT_EQ(kPinAboveSignature.typeErrorMessage, "pinAbove(handleBuffer, targetCgWindowId)");
  EXPECT_EQ(kSetWindowLevelNormalSignature.typeErrorMessage, "setWindowLevelNormal(handleBuffer)");
  EXPECT_EQ(kGetWindowNumberSignature.typeErrorMessage, "getWindowNumber(handleBuffer)");
  EXPECT_EQ(kDescribeZOrderSignature.typeErrorMessage, "describeZOrder(handleBuffer)");
}

struct ConversionCase {
  double value;
  uint32_t expected;
  friend void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << c.value << " -> " << c.expected;
  }
};

class ToUint32 : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ToUint32, TruncatesAndWrapsLikeTheRuntime) {
  EXPECT_EQ(toUint32(GetParam().value), GetParam().expected) << GetParam().value;
}

constexpr double kTwoTo32 = 4294967296.0;

INSTANTIATE_TEST_SUITE_P(
    Values, ToUint32,
    ::testing::Values(ConversionCase{0, 0}, ConversionCase{-0.0, 0}, ConversionCase{5, 5},
                      ConversionCase{5.99, 5}, ConversionCase{-0.5, 0},
                      ConversionCase{4294967295, 4294967295u}, ConversionCase{kTwoTo32, 0},
                      ConversionCase{kTwoTo32 + 5, 5}, ConversionCase{-1, 4294967295u},
                      ConversionCase{-1.5, 4294967295u}, ConversionCase{-kTwoTo32 - 1, 4294967295u},
                      ConversionCase{3 * kTwoTo32 + 12.7, 12},
                      // 2^53 + 2 and 2^60: past the exact integers, wrapped exactly
                      ConversionCase{9007199254740994.0, 2}, ConversionCase{std::ldexp(1.0, 60), 0},
                      ConversionCase{1e300, 0}, ConversionCase{-1e300, 0},
                      ConversionCase{std::numeric_limits<double>::quiet_NaN(), 0},
                      ConversionCase{std::numeric_limits<double>::infinity(), 0},
                      ConversionCase{-std::numeric_limits<double>::infinity(), 0},
                      ConversionCase{std::numeric_limits<double>::denorm_min(), 0}));

}  // namespace
}  // namespace tessary::anchor
