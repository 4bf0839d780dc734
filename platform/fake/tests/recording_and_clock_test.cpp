// The record of platform calls, the round-trip count, and virtual time.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>

#include "platform/fake/fake_desktop.h"

namespace tessary::fake {
namespace {

constexpr const char* kScene = R"({"applications": [{"pid": 7, "element": {"id": "app",
  "windows": [{"id": "win", "title": "W", "children": [{"id": "a"}, {"id": "b"}],
               "parameterized": {"AXBoundsForRange": {"rect": [1, 2, 3, 4]}}, "settable": ["AXValue"]}]}}],
  "windowList": [{"pid": 7, "bounds": [0, 0, 10, 10]}]})";

std::vector<std::string> callTexts(const FakeDesktop& desktop) {
  std::vector<std::string> texts;
  for (const PlatformCall& call : desktop.calls()) {
    texts.push_back(call.operation + "|" + call.element + "|" + call.detail);
  }
  return texts;
}

TEST(Recording, EveryCallWithItsElementAndDetail) {
  auto desktop = loadSceneOrThrow(kScene);
  Platform& platform = desktop->platform();
  Accessibility& accessibility = platform.accessibility;
  const AXElement win = desktop->element("win");
  const std::string_view batch[] = {"AXRole", "AXTitle"};

  accessibility.isProcessTrusted();
  AXElement app = accessibility.applicationElement(7);
  accessibility.setMessagingTimeout(app, 2.0f);
  accessibility.copyAttributeValue(win, "AXTitle");
  accessibility.copyAttributeValues(win, "AXChildren", 0, 9999);
  accessibility.copyMultipleAttributeValues(win, batch);
  accessibility.copyParameterizedAttributeValue(win, "AXBoundsForRange", AXValue(AXRange{3, 5}));
  accessibility.isAttributeSettable(win, "AXValue");
  accessibility.setAttributeValue(win, "AXValue", AXValue("a \"b\""));
  accessibility.performAction(win, "AXRaise");
  accessibility.elementAtPosition(accessibility.systemWideElement(), 5, 5.5f);
  accessibility.processIdentifier(win);
  platform.windowServer.copyWindowInfo(
      windowlist::onScreenOnly | windowlist::excludeDesktopElements, 0);
  platform.screens.mainScreenFrame();
  platform.workspace.runningApplications();
  platform.workspace.frontmostApplication();
  platform.clock.now();
  platform.clock.sleepMicroseconds(150000);
  platform.clock.runRunLoop(0.5);

  EXPECT_EQ(callTexts(*desktop),
            (std::vector<std::string>{
                "isProcessTrusted||",
                "applicationElement||7",
                "setMessagingTimeout|app|2",
                "copyAttributeValue|win|AXTitle",
                "copyAttributeValues|win|AXChildren 0 9999",
                "copyMultipleAttributeValues|win|AXRole,AXTitle",
                R"(copyParameterizedAttributeValue|win|AXBoundsForRange {"range":[3,5]})",
                "isAttributeSettable|win|AXValue",
                R"(setAttributeValue|win|AXValue "a \"b\"")",
                "performAction|win|AXRaise",
                "systemWideElement||",
                "elementAtPosition|systemWide|5 5.5",
                "processIdentifier|win|",
                "copyWindowInfo||options=17 relativeTo=0",
                "mainScreenFrame||",
                "runningApplications||",
                "frontmostApplication||",
                "now||",
                "sleepMicroseconds||150000",
                "runRunLoop||0.5",
            }));
  // Calls on elements are round trips; a batch is one; the pid, the timeout
  // and making element handles stay in this process.
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 8u);
}

TEST(Recording, SwitchedOffStillCountsRoundTrips) {
  auto desktop = loadSceneOrThrow(kScene);
  Accessibility& accessibility = desktop->platform().accessibility;
  desktop->setRecording(false);
  for (int i = 0; i < 5; ++i)
    accessibility.copyAttributeValue(desktop->element("a"), "AXRole");
  EXPECT_TRUE(desktop->calls().empty());
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 5u);

  desktop->setRecording(true);
  accessibility.copyAttributeValue(desktop->element("b"), "AXRole");
  EXPECT_EQ(callTexts(*desktop), std::vector<std::string>{"copyAttributeValue|b|AXRole"});
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 6u);

  desktop->clearCalls();
  EXPECT_TRUE(desktop->calls().empty());
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 0u);
}

TEST(Clock, StartsAtAFixedMomentAndMovesOnlyWhenWaiting) {
  auto first = loadSceneOrThrow("{}");
  auto second = loadSceneOrThrow("{}");
  Clock& clock = first->platform().clock;
  const double start = clock.now();
  EXPECT_EQ(start, second->platform().clock.now());
  EXPECT_EQ(clock.now(), start);

  clock.sleepMicroseconds(150000);
  // Absolute times are large, so differences carry float rounding.
  EXPECT_NEAR(clock.now() - start, 0.15, 1e-6);
  clock.runRunLoop(0.5);
  EXPECT_NEAR(clock.now() - start, 0.65, 1e-6);
  for (double odd : {-1.0, 0.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
    clock.runRunLoop(odd);
  }
  EXPECT_NEAR(clock.now() - start, 0.65, 1e-6);
  EXPECT_DOUBLE_EQ(first->elapsedSeconds(), 0.65);
  EXPECT_EQ(second->elapsedSeconds(), 0.0);
}

}  // namespace
}  // namespace tessary::fake
