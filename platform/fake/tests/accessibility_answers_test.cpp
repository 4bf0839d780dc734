// What attribute reads answer: every kind of value kept apart, errors with
// their codes, timeouts that let virtual time pass, and applications that
// freeze or are gone.
#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/tests/answer_text.h"

namespace tessary::fake {
namespace {

using testing::answerText;

constexpr const char* kTypedValues = R"({
  "applications": [{"pid": 7, "element": {"windows": [{"id": "probe",
    "title": "Save", "enabled": true, "frame": [10, 20, 30, 40],
    "selectedTextRange": [2, 3], "identifier": {"other": "AXAttributedString"},
    "description": null,
    "attributes": {
      "AXInteger": 1, "AXReal": 1.0, "AXForcedReal": {"real": 3}, "AXNegative": -4,
      "AXRect": {"rect": [1, 2, 3, 4]}, "AXText": "", "AXMissing": {"error": -25212},
      "AXSlow": {"timeout": true}, "AXList": [1, "a", {"ref": "probe"}, [true]],
      "AXLink": {"ref": "probe"}}}]}}]})";

struct ReadCase {
  std::string attribute;
  std::string answer;
};

class AttributeRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(AttributeRead, AnswersWithTheKindTheSceneGave) {
  auto desktop = loadSceneOrThrow(kTypedValues);
  AXResult result = desktop->platform().accessibility.copyAttributeValue(desktop->element("probe"),
                                                                         GetParam().attribute);
  EXPECT_EQ(answerText(*desktop, result, {"probe"}), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AttributeRead,
    ::testing::Values(ReadCase{"AXTitle", R"(text "Save")"}, ReadCase{"AXEnabled", "bool true"},
                      ReadCase{"AXPosition", R"({"point":[10,20]})"},
                      ReadCase{"AXSize", R"({"size":[30,40]})"},
                      ReadCase{"AXSelectedTextRange", R"({"range":[2,3]})"},
                      ReadCase{"AXIdentifier", R"({"other":"AXAttributedString"})"},
                      ReadCase{"AXDescription", "empty"}, ReadCase{"AXInteger", "int 1"},
                      ReadCase{"AXReal", "real 1"}, ReadCase{"AXForcedReal", "real 3"},
                      ReadCase{"AXNegative", "int -4"}, ReadCase{"AXRect", R"({"rect":[1,2,3,4]})"},
                      ReadCase{"AXText", R"(text "")"}, ReadCase{"AXMissing", "error -25212"},
                      ReadCase{"AXNotThere", "error -25205"}, ReadCase{"AXSlow", "error -25204"},
                      ReadCase{"AXList", R"(list [1,"a",{"ref":"probe"},[true]])"},
                      ReadCase{"AXLink", R"({"ref":"probe"})"}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.attribute; });

// "size" is both an element shorthand and a typed value; an object with
// more keys than "size" is an element, in child lists and as a window.
TEST(ElementShorthands, PositionAndSizeMakeAnElement) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 7, "element": {"windows": [
      {"id": "w", "position": [5, 6], "size": [70, 80],
       "children": [{"id": "c", "size": [1, 2]}]}]}}]})");
  Accessibility& accessibility = desktop->platform().accessibility;
  EXPECT_EQ(answerText(*desktop, accessibility.copyAttributeValue(desktop->element("w"), "AXSize"),
                       {"w", "c"}),
            R"({"size":[70,80]})");
  EXPECT_EQ(answerText(*desktop, accessibility.copyAttributeValue(desktop->element("c"), "AXSize"),
                       {"w", "c"}),
            R"({"size":[1,2]})");
}

TEST(Timeout, LetsTheMessagingTimeoutPass) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 7, "element": {"id": "app",
      "windows": [{"id": "a", "title": {"timeout": true}}, {"id": "b", "title": {"timeout": true}}]}}]})");
  Accessibility& accessibility = desktop->platform().accessibility;
  Clock& clock = desktop->platform().clock;
  const double start = clock.now();

  EXPECT_EQ(accessibility.copyAttributeValue(desktop->element("a"), "AXTitle").error,
            axerror::cannotComplete);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 6.0);  // the platform's default

  // A timeout set on one element covers that element only.
  EXPECT_EQ(accessibility.setMessagingTimeout(desktop->element("a"), 2.0f), axerror::success);
  accessibility.copyAttributeValue(desktop->element("a"), "AXTitle");
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 8.0);
  accessibility.copyAttributeValue(desktop->element("b"), "AXTitle");
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 14.0);

  // The system-wide element's timeout is the process-wide one; an element's
  // own still wins.
  accessibility.setMessagingTimeout(accessibility.systemWideElement(), 0.5f);
  accessibility.copyAttributeValue(desktop->element("b"), "AXTitle");
  accessibility.copyAttributeValue(desktop->element("a"), "AXTitle");
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 16.5);
  EXPECT_NEAR(clock.now() - start, 16.5, 1e-6);

  EXPECT_EQ(accessibility.setMessagingTimeout(desktop->element("a"), -1.0f),
            axerror::illegalArgument);
  EXPECT_EQ(accessibility.setMessagingTimeout(AXElement(), 1.0f), axerror::illegalArgument);
}

TEST(Timeout, ErrorsAndValuesTakeNoTime) {
  auto desktop = loadSceneOrThrow(kTypedValues);
  Accessibility& accessibility = desktop->platform().accessibility;
  for (const char* attribute : {"AXTitle", "AXMissing", "AXNotThere", "AXList"}) {
    accessibility.copyAttributeValue(desktop->element("probe"), attribute);
  }
  EXPECT_EQ(desktop->elapsedSeconds(), 0.0);
}

constexpr const char* kFreezingApplication = R"({"applications": [
  {"pid": 7, "freezeAfterCalls": 3, "element": {"id": "app", "windows": [{"id": "w", "title": "W"}]}},
  {"pid": 8, "element": {"windows": [{"id": "other", "title": "O"}]}}]})";

TEST(Freeze, EveryCallAfterTheLimitTimesOut) {
  auto desktop = loadSceneOrThrow(kFreezingApplication);
  Accessibility& accessibility = desktop->platform().accessibility;
  const AXElement window = desktop->element("w");
  const std::string_view batch[] = {"AXTitle", "AXRole"};

  // Three calls answer, of any kind and on any element of the application;
  // a batch read is one call.
  EXPECT_EQ(accessibility.copyAttributeValue(window, "AXTitle").error, axerror::success);
  EXPECT_EQ(accessibility.copyMultipleAttributeValues(window, batch)[0].error, axerror::success);
  EXPECT_EQ(accessibility.copyAttributeValue(desktop->element("app"), "AXWindows").error,
            axerror::success);
  EXPECT_EQ(desktop->elapsedSeconds(), 0.0);

  EXPECT_EQ(accessibility.copyAttributeValue(window, "AXTitle").error, axerror::cannotComplete);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 6.0);
  std::vector<AXResult> frozenBatch = accessibility.copyMultipleAttributeValues(window, batch);
  ASSERT_EQ(frozenBatch.size(), 2u);
  EXPECT_EQ(frozenBatch[0].error, axerror::cannotComplete);
  EXPECT_EQ(frozenBatch[1].error, axerror::cannotComplete);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 12.0);
  EXPECT_EQ(accessibility.setAttributeValue(window, "AXTitle", AXValue("x")),
            axerror::cannotComplete);
  EXPECT_EQ(accessibility.isAttributeSettable(window, "AXTitle").error, axerror::cannotComplete);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 24.0);

  // Other applications still answer, at once.
  EXPECT_EQ(accessibility.copyAttributeValue(desktop->element("other"), "AXTitle").error,
            axerror::success);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 24.0);
  // Asking for the pid goes nowhere near the application.
  EXPECT_EQ(accessibility.processIdentifier(window), 7);
}

TEST(Freeze, ZeroCallsMeansFrozenFromTheStart) {
  auto desktop = loadSceneOrThrow(
      R"({"applications": [{"pid": 7, "freezeAfterCalls": 0, "element": {"id": "app"}}]})");
  Accessibility& accessibility = desktop->platform().accessibility;
  accessibility.setMessagingTimeout(desktop->element("app"), 2.0f);
  EXPECT_EQ(accessibility.copyAttributeValue(desktop->element("app"), "AXRole").error,
            axerror::cannotComplete);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 2.0);
}

TEST(GoneProcess, CallsFailAtOnce) {
  auto desktop = loadSceneOrThrow(R"({"applications": [
      {"pid": 7, "running": false, "element": {"id": "quit", "role": "AXApplication"}}]})");
  Accessibility& accessibility = desktop->platform().accessibility;

  EXPECT_EQ(accessibility.copyAttributeValue(desktop->element("quit"), "AXRole").error,
            axerror::cannotComplete);
  AXElement unknown = accessibility.applicationElement(4242);
  ASSERT_TRUE(unknown);
  EXPECT_EQ(accessibility.copyAttributeValue(unknown, "AXRole").error, axerror::cannotComplete);
  EXPECT_EQ(accessibility.processIdentifier(unknown), 4242);
  // The same process gives the same element again.
  EXPECT_EQ(accessibility.applicationElement(4242).native(), unknown.native());
  EXPECT_EQ(desktop->elapsedSeconds(), 0.0);
  EXPECT_EQ(accessibility.createObserver(7), std::nullopt);
  EXPECT_EQ(accessibility.createObserver(4242), std::nullopt);
}

TEST(NullElement, FailsWithoutARoundTrip) {
  auto desktop = loadSceneOrThrow("{}");
  Accessibility& accessibility = desktop->platform().accessibility;
  EXPECT_EQ(accessibility.copyAttributeValue(AXElement(), "AXRole").error,
            axerror::illegalArgument);
  EXPECT_EQ(accessibility.setAttributeValue(AXElement(), "AXValue", AXValue(1)),
            axerror::illegalArgument);
  EXPECT_EQ(accessibility.processIdentifier(AXElement()), std::nullopt);
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 0u);
}

TEST(ElementPid, DefaultsToTheApplicationAndPassesToChildren) {
  auto desktop = loadSceneOrThrow(R"({
    "applications": [{"pid": 7, "element": {"windows": [{"id": "w", "children": [
        {"id": "web", "pid": 8, "children": [{"id": "inner"}]}]}]}},
      {"pid": 8, "freezeAfterCalls": 0}],
    "systemWide": {"children": [{"id": "loose"}]}})");
  Accessibility& accessibility = desktop->platform().accessibility;
  EXPECT_EQ(accessibility.processIdentifier(desktop->element("w")), 7);
  EXPECT_EQ(accessibility.processIdentifier(desktop->element("web")), 8);
  EXPECT_EQ(accessibility.processIdentifier(desktop->element("inner")), 8);
  EXPECT_EQ(accessibility.processIdentifier(desktop->element("loose")), std::nullopt);
  EXPECT_EQ(accessibility.processIdentifier(accessibility.systemWideElement()), std::nullopt);
  // The element belongs to the process its pid names: that one is frozen.
  EXPECT_EQ(accessibility.copyAttributeValue(desktop->element("inner"), "AXRole").error,
            axerror::cannotComplete);
}

}  // namespace
}  // namespace tessary::fake
