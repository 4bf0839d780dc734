// pane-raise on a desktop of windows: which window the walk chooses, the line
// it prints, and what it asks of the platform.
#include <gtest/gtest.h>

#include "common/exclusion.h"
#include "pane-raise/tests/raise_run.h"

namespace tessary::paneraise {
namespace {

using testing::runRaise;

struct PointCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* excludedPids;
  const char* expectedOut;
};

void PrintTo(const PointCase& c, std::ostream* os) {
  *os << c.name;
}

class RaiseAtPoint : public ::testing::TestWithParam<PointCase> {};

TEST_P(RaiseAtPoint, ChoosesThisWindow) {
  const PointCase& c = GetParam();
  auto desktop = fake::loadSceneFileOrThrow(testing::scenePath("windows_under_points.json"));
  Environment environment;
  if (c.excludedPids) environment[kExcludedPidVariable] = c.excludedPids;
  testing::RaiseRun run = runRaise(desktop->platform(), c.arguments, environment);
  EXPECT_EQ(run.out, c.expectedOut);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
}

constexpr const char* kEditor = "activated owner=Editor pid=501 window=Report raised=true\n";
constexpr const char* kNotes = "activated owner=Notes pid=505 window=Groceries raised=true\n";
constexpr const char* kViewer = "activated owner=Viewer pid=502 window=<untitled> raised=true\n";

INSTANTIATE_TEST_SUITE_P(
    Walk, RaiseAtPoint,
    ::testing::Values(PointCase{"menuBarAndHostWindowFallThrough", {"200", "10"}, nullptr, kEditor},
                      PointCase{"rightEdgeOutside", {"500", "100"}, nullptr, kNotes},
                      PointCase{"lastColumnInside", {"499", "299"}, nullptr, kEditor},
                      PointCase{"bottomEdgeOutside", {"200", "300"}, nullptr, kNotes},
                      PointCase{"truncatedLeftEdgeInside", {"100", "450"}, nullptr, kViewer},
                      PointCase{"truncatedLastColumn", {"149", "450"}, nullptr, kViewer},
                      PointCase{"truncatedRightEdgeOutside", {"150", "450"}, nullptr, kNotes},
                      PointCase{"leftOfTheTruncatedEdge", {"99", "450"}, nullptr, kNotes},
                      PointCase{
                          "excludedProcessShowsTheOneBehind", {"200", "10"}, " 7,501", kNotes},
                      PointCase{"otherElectronWindowsAreRaised",
                                {"850", "550"},
                                nullptr,
                                "activated owner=Electron pid=700 window=Chat raised=true\n"},
                      PointCase{"highLayerSkipped", {"310", "360"}, nullptr, kNotes},
                      PointCase{"suiteOwnerSkipped", {"450", "450"}, nullptr, kNotes},
                      PointCase{"noApplicationPassesToTheNextWindow",
                                {"650", "100"},
                                nullptr,
                                "activated owner= Mail  pid=504 window=Inbox raised=false\n"},
                      PointCase{"desktopAlone", {"900", "750"}, nullptr, "no_window\n"},
                      PointCase{"offEveryScreen",
                                {"-9223372036854775808", "9223372036854775807"},
                                nullptr,
                                "no_window\n"},
                      PointCase{"extraArgumentsIgnored", {"200", "10", "x", ""}, nullptr, kEditor}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RaiseCalls, ActivateRaiseFocusThenSettle) {
  auto desktop = fake::loadSceneFileOrThrow(testing::scenePath("windows_under_points.json"));
  runRaise(desktop->platform(), {"200", "10"});
  EXPECT_EQ(testing::callsOf(*desktop, {"copyWindowInfo", "runningApplication",
                                        "activateApplication", "applicationElement",
                                        "copyAttributeValue", "copyMultipleAttributeValues",
                                        "performAction", "setAttributeValue", "sleepMicroseconds"}),
            (std::vector<std::string>{
                "copyWindowInfo options=17 relativeTo=0",
                "runningApplication 501",
                "activateApplication 501 options=2",
                "applicationElement 501",
                "copyAttributeValue editor AXWindows",
                "copyMultipleAttributeValues editor-tools AXTitle,AXPosition,AXSize",
                "copyMultipleAttributeValues editor-report AXTitle,AXPosition,AXSize",
                "performAction editor-report AXRaise",
                R"(setAttributeValue editor AXFocusedWindow {"ref":"editor-report"})",
                "setAttributeValue editor-report AXMain true",
                "setAttributeValue editor-report AXFocused true",
                "sleepMicroseconds 12000",
            }));
  EXPECT_NEAR(desktop->elapsedSeconds(), 0.012, 1e-12);
  EXPECT_EQ(desktop->platform().workspace.frontmostApplication()->pid, 501);
  EXPECT_EQ(desktop->attributeValue("editor", "AXFocusedWindow")->element()->hash(),
            desktop->element("editor-report").hash());
}

// The raise lands in the window list: Notes, at the back, comes in front of
// every other window of layer 0 and stays behind the higher layers.
TEST(RaiseCalls, TheRaisedWindowComesToTheFrontOfItsLayer) {
  auto desktop = fake::loadSceneFileOrThrow(testing::scenePath("windows_under_points.json"));
  EXPECT_EQ(runRaise(desktop->platform(), {"600", "600"}).out, kNotes);
  std::optional<PlistArray> list = desktop->platform().windowServer.copyWindowInfo(17, 0);
  ASSERT_TRUE(list);
  std::vector<std::string> owners;
  for (const PlistValue& entry : *list)
    owners.push_back(*entry.find("kCGWindowOwnerName")->asString());
  EXPECT_EQ(owners, (std::vector<std::string>{"Window Server", "Clock", "Tessary", "Notes",
                                              "Electron", "Electron", "Electron", "Editor",
                                              "Viewer", "Helper", " Mail "}));
}

TEST(RaiseCalls, RefusedAccessibilityStillActivates) {
  auto desktop = fake::loadSceneFileOrThrow(testing::scenePath("windows_under_points.json"));
  testing::RaiseRun run = runRaise(desktop->platform(), {"850", "100"});
  EXPECT_EQ(run.out, "activated owner= Mail  pid=504 window=Inbox raised=false\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(
      testing::callsOf(*desktop, {"activateApplication", "performAction", "setAttributeValue",
                                  "sleepMicroseconds"}),
      (std::vector<std::string>{"activateApplication 504 options=2", "sleepMicroseconds 12000"}));
}

// Exactly one line, whatever the owner and title hold.
TEST(RaiseLine, LineFeedsInOwnerOrTitleBecomeSpaces) {
  auto desktop = fake::loadSceneOrThrow(R"({"applications": [{"pid": 7, "name": "App"}],
      "windowList": [{"pid": 7, "owner": " Two\nLines ", "name": " Re\nport \n",
                      "bounds": [0, 0, 100, 100]}]})");
  testing::RaiseRun run = runRaise(desktop->platform(), {"5", "5"});
  EXPECT_EQ(run.out, "activated owner= Two Lines  pid=7 window=Re port raised=false\n");
  EXPECT_EQ(run.status, 0);
}

struct ArgumentsCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* expectedOut;
};

void PrintTo(const ArgumentsCase& c, std::ostream* os) {
  *os << c.name;
}

class RaiseArguments : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(RaiseArguments, RejectedBeforeAnyPlatformCall) {
  auto desktop = fake::loadSceneFileOrThrow(testing::scenePath("windows_under_points.json"));
  testing::RaiseRun run = runRaise(desktop->platform(), GetParam().arguments);
  EXPECT_EQ(run.out, GetParam().expectedOut);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(desktop->calls().empty());
}

constexpr const char* kUsage = "error: usage: pane-raise <x> <y>\n";
constexpr const char* kInvalid = "error: invalid coordinates\n";

INSTANTIATE_TEST_SUITE_P(
    Rejected, RaiseArguments,
    ::testing::Values(ArgumentsCase{"none", {}, kUsage}, ArgumentsCase{"one", {"10"}, kUsage},
                      ArgumentsCase{"exponent", {"10", "2e3"}, kInvalid},
                      ArgumentsCase{"empty", {"", "10"}, kInvalid},
                      ArgumentsCase{"plusAlone", {"+", "10"}, kInvalid},
                      ArgumentsCase{"minusAlone", {"10", "-"}, kInvalid},
                      ArgumentsCase{"hexadecimal", {"0x10", "10"}, kInvalid},
                      ArgumentsCase{"leadingSpace", {" 12", "10"}, kInvalid},
                      ArgumentsCase{"trailingSpace", {"10", "12 "}, kInvalid},
                      ArgumentsCase{"decimal", {"10.0", "10"}, kInvalid},
                      ArgumentsCase{"past64Bits", {"9223372036854775808", "10"}, kInvalid},
                      ArgumentsCase{"below64Bits", {"10", "-9223372036854775809"}, kInvalid}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RaiseWindowList, UnreadableOrNotAListOfDictionaries) {
  auto failing = fake::loadSceneOrThrow(R"({"windowList": "fail"})");
  testing::RaiseRun run = runRaise(failing->platform(), {"1", "1"});
  EXPECT_EQ(run.out, "error: could not get window list\n");
  EXPECT_EQ(run.status, 1);

  class WithANumber : public WindowServer {
   public:
    std::optional<PlistArray> copyWindowInfo(uint32_t, uint32_t) override {
      return PlistArray{PlistValue(PlistDict{{"kCGWindowOwnerName", "Notes"}}), PlistValue(5)};
    }
  } windowServer;
  auto desktop = fake::loadSceneOrThrow("{}");
  Platform& real = desktop->platform();
  Platform platform{real.accessibility, windowServer,     real.screens,          real.workspace,
                    real.clock,         real.hostWindows, real.speechRecognizer, real.inputState};
  run = runRaise(platform, {"1", "1"});
  EXPECT_EQ(run.out, "error: could not get window list\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace tessary::paneraise
