// Waking up the accessibility of web content before the windows are read:
// the messaging timeout, the two attribute writes, the observer with its 13
// notifications, the run-loop pause and the settle sleep, all in virtual time.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "scene-census/capture/web_activation.h"
#include "scene-census/tests/driver_harness.h"

namespace tessary {
namespace {

using driver_test::CensusRun;
using driver_test::runCensus;

const std::vector<std::string> kNotifications = {"AXFocusedUIElementChanged",
                                                 "AXFocusedWindowChanged",
                                                 "AXApplicationActivated",
                                                 "AXApplicationDeactivated",
                                                 "AXApplicationHidden",
                                                 "AXApplicationShown",
                                                 "AXWindowCreated",
                                                 "AXWindowMoved",
                                                 "AXWindowResized",
                                                 "AXValueChanged",
                                                 "AXTitleChanged",
                                                 "AXSelectedChildrenChanged",
                                                 "AXLayoutChanged"};

// A browser (pid 42) with one window; `applicationKeys` and `elementKeys` add
// keys to its application and to its application element.
std::unique_ptr<fake::FakeDesktop> browser(const std::string& applicationKeys,
                                           const std::string& elementKeys, bool remote,
                                           const std::string& windows = "") {
  std::string windowList =
      windows.empty()
          ? R"([{"id": "page", "role": "AXWindow", "title": "Inbox", "frame": [0, 25, 800, 600]}])"
          : windows;
  return fake::loadSceneOrThrow(
      std::string(R"({"remoteNotificationRegistration": )") + (remote ? "true" : "false") +
      R"(, "applications": [{"pid": 42, "name": "Browser", )" + applicationKeys +
      R"( "element": {"id": "browser", )" + elementKeys + R"( "windows": )" + windowList +
      R"(}}], "windowList": [{"pid": 42, "name": "Inbox", "bounds": [0, 25, 800, 600]}]})");
}

// The activation's calls, up to and including the read of the windows.
std::vector<std::string> activationCalls(const fake::FakeDesktop& desktop) {
  std::vector<std::string> found;
  for (const fake::PlatformCall& call : desktop.calls()) {
    bool local = call.operation == "createObserver" || call.operation == "addObserverToRunLoop" ||
                 call.operation == "runRunLoop" || call.operation == "sleepMicroseconds";
    if (call.element != "browser" && !local) continue;
    found.push_back(call.operation + (call.element.empty() ? "" : " " + call.element) + " " +
                    call.detail);
    if (call.operation == "copyAttributeValue" && call.detail == "AXWindows") break;
  }
  return found;
}

struct Expected {
  bool observer = false;       // created, with its notifications
  bool notifications = false;  // registered on the observer
  bool remote = false;
  bool pause = false;
  bool settle = false;
};

std::vector<std::string> expectedCalls(const Expected& e) {
  std::vector<std::string> calls{"setMessagingTimeout browser 2",
                                 "setAttributeValue browser AXManualAccessibility true",
                                 "setAttributeValue browser AXEnhancedUserInterface true"};
  if (e.pause) {
    calls.push_back("createObserver 42");
    if (e.observer) calls.push_back("addObserverToRunLoop 1");
    if (e.notifications) {
      for (const std::string& n : kNotifications)
        calls.push_back("addNotification browser " + n + (e.remote ? " remote" : ""));
    }
    calls.push_back("runRunLoop 0.5");
  }
  calls.push_back("setAttributeValue browser AXManualAccessibility true");
  calls.push_back("setAttributeValue browser AXEnhancedUserInterface true");
  if (e.settle) calls.push_back("sleepMicroseconds 150000");
  calls.push_back("copyAttributeValue browser AXWindows");
  return calls;
}

struct ActivationCase {
  std::string label;
  std::string applicationKeys;
  std::string elementKeys;
  bool remote;
  Expected expected;
  std::string elapsed;  // as the "Processed target" line prints it
};
void PrintTo(const ActivationCase& c, std::ostream* os) {
  *os << c.label;
}

class Activation : public ::testing::TestWithParam<ActivationCase> {};

TEST_P(Activation, CallsAndVirtualTime) {
  const ActivationCase& c = GetParam();
  auto desktop = browser(c.applicationKeys, c.elementKeys, c.remote);
  CensusRun run = runCensus(*desktop);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(activationCalls(*desktop), expectedCalls(c.expected));
  // Whatever the application made of the writes, its window is captured.
  EXPECT_TRUE(driver_test::hasLine(
      run.err, "DEBUG: Processed target PID 42 in " + c.elapsed + "s, got 1 root elements"))
      << run.err;
}

const Expected kFull{true, true, false, true, true};

INSTANTIATE_TEST_SUITE_P(
    Table, Activation,
    ::testing::Values(
        ActivationCase{"acceptsBothWithPrivateRegistration",
                       "",
                       R"("settable": ["AXManualAccessibility", "AXEnhancedUserInterface"],)",
                       true,
                       {true, true, true, true, true},
                       "0.65"},
        ActivationCase{"acceptsBothWithoutPrivateRegistration", "",
                       R"("settable": ["AXManualAccessibility", "AXEnhancedUserInterface"],)",
                       false, kFull, "0.65"},
        ActivationCase{"acceptsOnlyEnhancedInterface", "",
                       R"("settable": ["AXEnhancedUserInterface"],)", false, kFull, "0.65"},
        ActivationCase{"acceptsOnlyManualAccessibility",
                       "",
                       R"("settable": ["AXManualAccessibility"],)",
                       true,
                       {true, true, true, true, true},
                       "0.65"},
        ActivationCase{"rejectsBoth", "", "", true, {}, "0.00"},
        // A busy application refuses at once with -25204; that costs nothing
        // and does not make it count as frozen.
        ActivationCase{"busyRefusals",
                       "",
                       R"("setResults": {"AXManualAccessibility": [-25204],
                                          "AXEnhancedUserInterface": [-25204]},)",
                       true,
                       {},
                       "0.00"},
        ActivationCase{"observerCannotBeCreated",
                       R"("observers": false,)",
                       R"("settable": ["AXEnhancedUserInterface"],)",
                       true,
                       {false, false, false, true, true},
                       "0.65"},
        // Failed registrations are ignored; all thirteen are still attempted.
        ActivationCase{"registrationsFail", R"("observers": {"addNotification": -25200},)",
                       R"("settable": ["AXEnhancedUserInterface"],)", false, kFull, "0.65"},
        ActivationCase{"acceptsOnlyTheFirstTime",
                       "",
                       R"("setResults": {"AXManualAccessibility": [0, -25205],
                                          "AXEnhancedUserInterface": [-25205]},)",
                       false,
                       {true, true, false, true, false},
                       "0.50"},
        ActivationCase{"acceptsOnlyTheSecondTime",
                       "",
                       R"("setResults": {"AXManualAccessibility": [-25205, 0],
                                          "AXEnhancedUserInterface": [-25205, 0]},)",
                       false,
                       {false, false, false, false, true},
                       "0.15"}),
    [](const ::testing::TestParamInfo<ActivationCase>& info) { return info.param.label; });

// The 2-second timeout covers the application element: a hanging window list
// costs 2 seconds, not the platform's default.
TEST(Activation, MessagingTimeoutOnTheApplicationElement) {
  struct Case {
    std::string elementKeys;
    std::string line;
  };
  for (const Case& c : {Case{R"("settable": ["AXEnhancedUserInterface"],)",
                             "DEBUG: Processed target PID 42 in 2.65s, got 0 root elements"},
                        Case{"", "DEBUG: Processed target PID 42 in 2.00s, got 0 root elements"}}) {
    auto desktop = browser("", c.elementKeys, true, R"({"timeout": true})");
    CensusRun run = runCensus(*desktop);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(driver_test::hasLine(run.err, c.line)) << run.err;
  }
}

TEST(Activation, OneObserverPerProcess) {
  auto desktop = fake::loadSceneOrThrow(R"({"applications": [
      {"pid": 42, "element": {"id": "first", "settable": ["AXEnhancedUserInterface"]}},
      {"pid": 43, "element": {"id": "second", "settable": ["AXEnhancedUserInterface"]}}]})");
  std::ostringstream out, err;
  ProgramContext context{{}, {}, out, err, desktop->platform()};
  CaptureRunState state(context);
  AXElement first = desktop->platform().accessibility.applicationElement(42);
  AXElement second = desktop->platform().accessibility.applicationElement(43);
  desktop->clearCalls();

  activateAccessibilityForWebContent(state, 42, first);
  activateAccessibilityForWebContent(state, 42, first);
  registerAccessibilityObserver(state, 42, first);
  registerAccessibilityObserver(state, 43, second);

  EXPECT_EQ(driver_test::callsOf(*desktop, {"createObserver"}),
            (std::vector<std::string>{"createObserver 42", "createObserver 43"}));
  EXPECT_EQ(driver_test::countCalls(*desktop, "addNotification"), 2 * kNotifications.size());
  EXPECT_EQ(state.overlayAccessibilityObservers.size(), 2u);
  // Each activation still pauses.
  EXPECT_EQ(driver_test::countCalls(*desktop, "runRunLoop"), 2u);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 1.0);
}

// A clock whose run loop returns early, as the platform's does when a source
// fires or none is attached.
class ShortRunLoopClock : public Clock {
 public:
  explicit ShortRunLoopClock(double step) : step_(step) {}
  double now() override { return now_; }
  void sleepMicroseconds(uint64_t microseconds) override { now_ += microseconds / 1e6; }
  void runRunLoop(double seconds) override {
    asked.push_back(seconds);
    now_ += std::min(seconds, step_);
  }
  std::vector<double> asked;

 private:
  double step_;
  double now_ = 1000;
};

TEST(Activation, RunLoopTurnsAgainUntilTheDeadline) {
  ShortRunLoopClock clock(0.2);
  pumpRunLoopForAccessibilityActivation(clock, 0.5);
  ASSERT_EQ(clock.asked.size(), 3u);
  EXPECT_DOUBLE_EQ(clock.asked[0], 0.5);
  EXPECT_NEAR(clock.asked[1], 0.3, 1e-9);
  EXPECT_NEAR(clock.asked[2], 0.1, 1e-9);
  EXPECT_NEAR(clock.now(), 1000.5, 1e-9);
}

TEST(Activation, RunLoopPauseEndsWhenTheClockStandsStill) {
  ShortRunLoopClock clock(0);
  pumpRunLoopForAccessibilityActivation(clock, 0.5);
  EXPECT_EQ(clock.asked.size(), 1u);
}

}  // namespace
}  // namespace tessary
