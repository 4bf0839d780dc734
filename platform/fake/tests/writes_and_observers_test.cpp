// Attribute writes, settable questions, actions and observers.
#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/tests/answer_text.h"

namespace tessary::fake {
namespace {

using testing::answerText;

constexpr const char* kFields = R"({"applications": [{"pid": 7,
  "observers": {"addNotification": {"AXLayoutChanged": -25207}},
  "element": {"id": "app", "settable": ["AXManualAccessibility"],
    "setResults": {"AXEnhancedUserInterface": [-25205]},
    "windows": [
      {"id": "field", "role": "AXTextField", "value": "old", "settable": {"AXValue": true, "AXTitle": false}},
      {"id": "busy", "role": "AXTextField", "value": "old", "setResults": {"AXValue": [-25204, 0]}},
      {"id": "stuck", "role": "AXTextField", "setResults": {"AXValue": [{"timeout": true}, -25200]}},
      {"id": "asking", "role": "AXTextArea", "value": "x", "settable": {"AXValue": {"error": -25204}}},
      {"id": "label", "role": "AXStaticText", "value": "fixed",
       "actions": {"AXPress": 0, "AXShowMenu": -25200}}]}},
  {"pid": 8, "observers": false}]})";

struct SettableCase {
  std::string element;
  std::string attribute;
  std::string answer;
};

class Settable : public ::testing::TestWithParam<SettableCase> {};

TEST_P(Settable, AnswersFromTheScene) {
  auto desktop = loadSceneOrThrow(kFields);
  AXResult result = desktop->platform().accessibility.isAttributeSettable(
      desktop->element(GetParam().element), GetParam().attribute);
  EXPECT_EQ(answerText(*desktop, result), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Questions, Settable,
    ::testing::Values(SettableCase{"field", "AXValue", "bool true"},
                      SettableCase{"field", "AXTitle", "bool false"},
                      SettableCase{"field", "AXRole", "bool false"},  // present, not listed
                      SettableCase{"field", "AXNothing", "error -25205"},
                      SettableCase{"busy", "AXValue", "bool true"},  // writes are scripted
                      SettableCase{"asking", "AXValue", "error -25204"},
                      SettableCase{"app", "AXManualAccessibility", "bool true"}),
    [](const ::testing::TestParamInfo<SettableCase>& info) {
      return info.param.element + "_" + info.param.attribute;
    });

TEST(Write, StoresTheValueOnlyWhenItSucceeds) {
  auto desktop = loadSceneOrThrow(kFields);
  Accessibility& accessibility = desktop->platform().accessibility;

  EXPECT_EQ(accessibility.setAttributeValue(desktop->element("field"), "AXValue", AXValue("new")),
            axerror::success);
  EXPECT_EQ(*desktop->attributeValue("field", "AXValue")->text(), "new");
  EXPECT_EQ(
      answerText(*desktop, accessibility.copyAttributeValue(desktop->element("field"), "AXValue")),
      R"(text "new")");

  EXPECT_EQ(accessibility.setAttributeValue(desktop->element("field"), "AXTitle", AXValue("t")),
            axerror::attributeUnsupported);
  EXPECT_EQ(desktop->attributeValue("field", "AXTitle"), std::nullopt);
  EXPECT_EQ(accessibility.setAttributeValue(desktop->element("label"), "AXValue", AXValue("t")),
            axerror::attributeUnsupported);
  EXPECT_EQ(*desktop->attributeValue("label", "AXValue")->text(), "fixed");
  // A write keeps the kind it was given.
  accessibility.setAttributeValue(desktop->element("app"), "AXManualAccessibility", AXValue(true));
  EXPECT_EQ(desktop->attributeValue("app", "AXManualAccessibility")->boolean(), true);
}

TEST(Write, ScriptedResultsGoAttemptByAttemptAndTheLastRepeats) {
  auto desktop = loadSceneOrThrow(kFields);
  Accessibility& accessibility = desktop->platform().accessibility;
  const AXElement busy = desktop->element("busy");
  EXPECT_EQ(accessibility.setAttributeValue(busy, "AXValue", AXValue("first")),
            axerror::cannotComplete);
  EXPECT_EQ(*desktop->attributeValue("busy", "AXValue")->text(), "old");
  EXPECT_EQ(desktop->elapsedSeconds(), 0.0);  // busy at once, not a hang
  EXPECT_EQ(accessibility.setAttributeValue(busy, "AXValue", AXValue("second")), axerror::success);
  EXPECT_EQ(*desktop->attributeValue("busy", "AXValue")->text(), "second");
  EXPECT_EQ(accessibility.setAttributeValue(busy, "AXValue", AXValue("third")), axerror::success);
  EXPECT_EQ(*desktop->attributeValue("busy", "AXValue")->text(), "third");

  const AXElement stuck = desktop->element("stuck");
  EXPECT_EQ(accessibility.setAttributeValue(stuck, "AXValue", AXValue("a")),
            axerror::cannotComplete);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 6.0);
  EXPECT_EQ(accessibility.setAttributeValue(stuck, "AXValue", AXValue("a")), axerror::failure);
  EXPECT_EQ(accessibility.setAttributeValue(stuck, "AXValue", AXValue("a")), axerror::failure);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 6.0);
  EXPECT_EQ(desktop->attributeValue("stuck", "AXValue"), std::nullopt);

  EXPECT_EQ(accessibility.setAttributeValue(desktop->element("app"), "AXEnhancedUserInterface",
                                            AXValue(true)),
            axerror::attributeUnsupported);
}

TEST(Action, AnswersTheSceneCodeOrUnsupported) {
  auto desktop = loadSceneOrThrow(kFields);
  Accessibility& accessibility = desktop->platform().accessibility;
  const AXElement label = desktop->element("label");
  EXPECT_EQ(accessibility.performAction(label, "AXPress"), axerror::success);
  EXPECT_EQ(accessibility.performAction(label, "AXShowMenu"), axerror::failure);
  EXPECT_EQ(accessibility.performAction(label, "AXRaise"), axerror::actionUnsupported);
}

TEST(Observer, RegistersOncePerNotificationWithTheSceneResults) {
  auto desktop = loadSceneOrThrow(kFields);
  Accessibility& accessibility = desktop->platform().accessibility;
  const AXElement app = desktop->element("app");

  std::optional<AXObserverId> observer = accessibility.createObserver(7);
  ASSERT_TRUE(observer);
  EXPECT_EQ(accessibility.addNotification(*observer, app, "AXValueChanged", false),
            axerror::success);
  EXPECT_EQ(accessibility.addNotification(*observer, app, "AXValueChanged", false),
            axerror::notificationAlreadyRegistered);
  EXPECT_EQ(accessibility.addNotification(*observer, app, "AXLayoutChanged", false),
            axerror::notificationUnsupported);
  EXPECT_EQ(accessibility.addNotification(*observer + 5, app, "AXValueChanged", false),
            axerror::invalidUIElementObserver);
  // A second observer is a different one.
  std::optional<AXObserverId> second = accessibility.createObserver(7);
  ASSERT_TRUE(second);
  EXPECT_NE(*second, *observer);
  EXPECT_EQ(accessibility.addNotification(*second, app, "AXValueChanged", false), axerror::success);

  EXPECT_EQ(accessibility.createObserver(8), std::nullopt);  // "observers": false
  EXPECT_EQ(accessibility.createObserver(9), std::nullopt);  // no such application
}

struct RemoteCase {
  std::string label;
  bool available;
  bool lookedUp;
  bool useRemote;
  std::string detail;
};

class RemoteRegistration : public ::testing::TestWithParam<RemoteCase> {};

TEST_P(RemoteRegistration, IsUsedOnlyWhenAskedForAndFound) {
  const RemoteCase& c = GetParam();
  auto desktop = loadSceneOrThrow(std::string(R"({"remoteNotificationRegistration": )") +
                                  (c.available ? "true" : "false") +
                                  R"(, "applications": [{"pid": 7, "element": {"id": "app"}}]})");
  Accessibility& accessibility = desktop->platform().accessibility;
  if (c.lookedUp) {
    EXPECT_EQ(accessibility.lookUpRemoteNotificationRegistration(), c.available);
  }
  std::optional<AXObserverId> observer = accessibility.createObserver(7);
  ASSERT_TRUE(observer);
  desktop->clearCalls();
  EXPECT_EQ(accessibility.addNotification(*observer, desktop->element("app"), "AXTitleChanged",
                                          c.useRemote),
            axerror::success);
  ASSERT_EQ(desktop->calls().size(), 1u);
  EXPECT_EQ(desktop->calls()[0].operation, "addNotification");
  EXPECT_EQ(desktop->calls()[0].element, "app");
  EXPECT_EQ(desktop->calls()[0].detail, c.detail);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, RemoteRegistration,
    ::testing::Values(RemoteCase{"foundAndAsked", true, true, true, "AXTitleChanged remote"},
                      RemoteCase{"foundNotAsked", true, true, false, "AXTitleChanged"},
                      RemoteCase{"askedNotLookedUp", true, false, true, "AXTitleChanged"},
                      RemoteCase{"askedNotFound", false, true, true, "AXTitleChanged"}),
    [](const ::testing::TestParamInfo<RemoteCase>& info) { return info.param.label; });

}  // namespace
}  // namespace tessary::fake
