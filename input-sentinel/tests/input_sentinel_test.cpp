// input-sentinel on scripted input timelines in virtual time: the lines each
// change gives, their order within a sample, the pointer rounding, the probe,
// and the program end to end.
#include "input-sentinel/input_sentinel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <sstream>

#include "platform/fake/fake_desktop.h"
#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary {
namespace {

struct SentinelRun {
  int status = -1;
  std::string out;
  std::unique_ptr<fake::FakeDesktop> desktop;
};

SentinelRun runSentinel(const std::string& scene, std::vector<std::string> arguments = {}) {
  SentinelRun run;
  run.desktop = fake::loadSceneOrThrow(scene);
  std::ostringstream out, err;
  ProgramContext context{std::move(arguments), {}, out, err, run.desktop->platform()};
  run.status = runInputSentinel(context);
  run.out = out.str();
  EXPECT_EQ(err.str(), "");
  return run;
}

// The lines after "READY" for a timeline (a JSON list of entries).
std::string linesFor(const std::string& timeline) {
  SentinelRun run = runSentinel(R"({"input": {"timeline": )" + timeline + "}}");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.substr(0, 6), "READY\n");
  return run.out.size() >= 6 ? run.out.substr(6) : run.out;
}

std::vector<std::string> callsOf(const fake::FakeDesktop& desktop) {
  std::vector<std::string> calls;
  for (const fake::PlatformCall& call : desktop.calls())
    calls.push_back(call.operation + (call.detail.empty() ? "" : " " + call.detail));
  return calls;
}

struct TimelineCase {
  const char* name;
  const char* timeline;
  const char* lines;
  friend void PrintTo(const TimelineCase& c, std::ostream* os) { *os << c.name; }
};

class Timelines : public ::testing::TestWithParam<TimelineCase> {};

TEST_P(Timelines, GiveTheseLines) {
  EXPECT_EQ(linesFor(GetParam().timeline), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    InputSentinel, Timelines,
    ::testing::Values(
        TimelineCase{"ControlHeldOneSecond",
                     R"([{"at": 0.1, "control": true}, {"at": 1.1, "control": false}])",
                     "CTRL_DOWN\nCTRL_UP\n"},
        TimelineCase{"ControlAndShiftInOneSampleKeepTheirOrder",
                     R"([{"at": 0.1, "shift": true, "control": true},
                         {"at": 0.5, "shift": false, "control": false}])",
                     "CTRL_DOWN\nSHIFT_DOWN\nCTRL_UP\nSHIFT_UP\n"},
        TimelineCase{"ShiftAloneUnderHeldControl",
                     R"([{"at": 0.1, "control": true}, {"at": 0.3, "shift": true},
                         {"at": 0.5, "shift": false}, {"at": 0.7, "control": false}])",
                     "CTRL_DOWN\nSHIFT_DOWN\nSHIFT_UP\nCTRL_UP\n"},
        TimelineCase{"RawFlagsCountOnlyTheirControlAndShiftBits",
                     // Every bit but Control (0x40000) and Shift (0x20000) gives
                     // nothing; 0x60000 is both.
                     R"([{"at": 0.1, "flags": 18446744073709158399}, {"at": 0.3, "flags": 393216},
                         {"at": 0.5, "flags": 131072}, {"at": 0.7, "flags": 0}])",
                     "CTRL_DOWN\nSHIFT_DOWN\nCTRL_UP\nSHIFT_UP\n"},
        TimelineCase{"EscapeHeldGivesOneLineAndReleaseNone",
                     R"([{"at": 0.1, "escape": true}, {"at": 2.0, "escape": false}])", "ESC\n"},
        TimelineCase{"EscapePressedTwice",
                     R"([{"at": 0.1, "keys": {"53": true}}, {"at": 0.2, "escape": false},
                         {"at": 0.3, "escape": true}])",
                     "ESC\nESC\n"},
        TimelineCase{"OtherKeysAreNotEscape", R"([{"at": 0.1, "keys": {"0": true, "54": true}}])",
                     ""},
        TimelineCase{"ChangeShorterThanASampleIsNotSeen",
                     // Samples at 0.10 and 0.12; Control is down only between.
                     R"([{"at": 0.101, "control": true}, {"at": 0.119, "control": false}])", ""},
        TimelineCase{"PointerWithoutButtonIsNeverReported",
                     R"([{"at": 0.1, "pointer": [5, 5]}, {"at": 0.2, "pointer": [500, 300]},
                         {"at": 0.3, "buttons": {"1": true}, "pointer": [7, 7]},
                         {"at": 0.4, "pointer": [9, 9]}])",
                     ""},
        TimelineCase{"DragMovesOnlyWhenTheRoundedPositionChanges",
                     R"([{"at": 0.1, "pointer": [10.4, 20.6]},
                         {"at": 0.2, "leftButton": true},
                         {"at": 0.3, "pointer": [10.45, 20.7]},
                         {"at": 0.4, "pointer": [10.5, 20.7]},
                         {"at": 0.5, "pointer": [30, 40]},
                         {"at": 0.6, "leftButton": false, "pointer": [31, 41]},
                         {"at": 0.7, "pointer": [99, 99]}])",
                     "MOUSE_DOWN 10 21 0\nMOUSE_MOVE 11 21\nMOUSE_MOVE 30 40\n"
                     "MOUSE_UP 31 41 0\n"},
        TimelineCase{"HalvesRoundAwayFromZero",
                     R"([{"at": 0.1, "leftButton": true, "pointer": [-0.5, 10.5]},
                         {"at": 0.2, "pointer": [-1.5, -2.5]},
                         {"at": 0.3, "pointer": [-0.4, 0.4]}])",
                     "MOUSE_DOWN -1 11 0\nMOUSE_MOVE -2 -3\nMOUSE_MOVE 0 0\n"},
        TimelineCase{"ClickWithoutMovement",
                     R"([{"at": 0.1, "leftButton": true, "pointer": [3, 4]},
                         {"at": 0.5, "leftButton": false}])",
                     "MOUSE_DOWN 3 4 0\nMOUSE_UP 3 4 0\n"},
        TimelineCase{"ButtonsAndModifiersAtOnce",
                     // The right button (1) is never reported.
                     R"([{"at": 0.1, "control": true, "shift": true, "escape": true,
                          "buttons": {"0": true, "1": true}, "pointer": [1, 2]},
                         {"at": 0.2, "control": false, "shift": false, "escape": false,
                          "buttons": {"0": false, "1": false}}])",
                     "CTRL_DOWN\nSHIFT_DOWN\nESC\nMOUSE_DOWN 1 2 0\nCTRL_UP\nSHIFT_UP\n"
                     "MOUSE_UP 1 2 0\n"},
        TimelineCase{"HugeAndInfiniteCoordinatesHoldToThe32BitRange",
                     R"([{"at": 0.1, "leftButton": true, "pointer": [1e300, "-inf"]},
                         {"at": 0.2, "pointer": ["inf", -3e9]},
                         {"at": 0.3, "pointer": [2147483647.4, -2147483649]}])",
                     "MOUSE_DOWN 2147483647 -2147483648 0\n"},
        TimelineCase{"NoEventHoldsTheButtonUntilAPositionIsKnown",
                     // The release happens while no event can be created; it is
                     // reported at the first sample with a location.
                     R"([{"at": 0.1, "leftButton": true, "pointer": [1, 1]},
                         {"at": 0.2, "pointer": null, "control": true},
                         {"at": 0.3, "leftButton": false},
                         {"at": 0.4, "pointer": [8, 9]}])",
                     "MOUSE_DOWN 1 1 0\nCTRL_DOWN\nMOUSE_UP 8 9 0\n"},
        TimelineCase{"NaNLocationCountsAsNoEvent",
                     R"([{"at": 0.1, "leftButton": true, "pointer": ["nan", 4]},
                         {"at": 0.2, "pointer": [4, 4]},
                         {"at": 0.3, "pointer": [5, "nan"]},
                         {"at": 0.4, "pointer": [5, 5]}])",
                     "MOUSE_DOWN 4 4 0\nMOUSE_MOVE 5 5\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InputSentinel, StartsFromTheScenePointerBeforeTheTimelinePlacesIt) {
  SentinelRun run = runSentinel(
      R"({"pointer": [12.5, 7], "input": {"timeline": [{"at": 0.1, "leftButton": true}]}})");
  EXPECT_EQ(run.out, "READY\nMOUSE_DOWN 13 7 0\n");
}

TEST(InputSentinel, StatesFlippingEverySampleGiveEveryTransitionOnce) {
  // Control flips between every two samples, the left button every third,
  // for 3,000 samples (a minute).
  constexpr int kSamples = 3000;
  std::string timeline = "[";
  std::string expected;
  bool control = false, button = false;
  for (int sample = 1; sample <= kSamples; ++sample) {
    const double at = sample * 0.02 - 0.01;
    control = !control;
    const bool flipButton = sample % 3 == 0;
    if (flipButton) button = !button;
    const int x = sample % 7;
    if (sample > 1) timeline += ",";
    timeline += R"({"at": )" + std::to_string(at) + R"(, "control": )" +
                (control ? "true" : "false") + R"(, "leftButton": )" + (button ? "true" : "false") +
                R"(, "pointer": [)" + std::to_string(x) + ", 0]}";
    expected += control ? "CTRL_DOWN\n" : "CTRL_UP\n";
    if (flipButton) {
      expected += std::string(button ? "MOUSE_DOWN " : "MOUSE_UP ") + std::to_string(x) + " 0 0\n";
    } else if (button) {
      expected += "MOUSE_MOVE " + std::to_string(x) + " 0\n";
    }
  }
  timeline += "]";
  SentinelRun run = runSentinel(R"({"input": {"timeline": )" + timeline + R"(, "end": 60}})");
  ASSERT_EQ(run.out.substr(0, 6), "READY\n");
  EXPECT_TRUE(run.out.substr(6) == expected) << "the lines differ from the transitions";
}

TEST(InputSentinel, OneSampleReadsInItsFixedOrder) {
  SentinelRun run = runSentinel(R"({"input": {"timeline": [], "end": 0.02}})");
  EXPECT_EQ(callsOf(*run.desktop),
            (std::vector<std::string>{"runRepeatingTimer interval 0.02 tolerance 0.01 common modes",
                                      "timerFired 0.02", "flagsState 1", "keyState 1 53",
                                      "pointerLocation", "buttonState 1 0"}));
}

TEST(InputSentinel, WithoutAnEventTheSampleEndsAfterTheKeys) {
  SentinelRun run =
      runSentinel(R"({"input": {"timeline": [{"at": 0, "pointer": null}], "end": 0.02}})");
  EXPECT_EQ(callsOf(*run.desktop),
            (std::vector<std::string>{"runRepeatingTimer interval 0.02 tolerance 0.01 common modes",
                                      "timerFired 0.02", "flagsState 1", "keyState 1 53",
                                      "pointerLocation no event"}));
}

TEST(InputSentinel, SamplesEvery20MillisecondsUntilTheTimelineEnds) {
  SentinelRun run = runSentinel(R"({"input": {"timeline": [{"at": 0.5, "control": true}]}})");
  std::vector<std::string> firings;
  for (const std::string& call : callsOf(*run.desktop))
    if (call.starts_with("timerFired")) firings.push_back(call);
  // The default end is a tenth of a second after the last entry.
  ASSERT_EQ(firings.size(), 30u);
  EXPECT_EQ(firings.front(), "timerFired 0.02");
  EXPECT_EQ(firings.back(), "timerFired 0.6");
  EXPECT_DOUBLE_EQ(run.desktop->elapsedSeconds(), 0.6);
  EXPECT_EQ(run.out, "READY\nCTRL_DOWN\n");
}

TEST(InputSentinel, ReadyComesBeforeTheFirstSample) {
  SentinelRun run = runSentinel(R"({"input": {"timeline": [{"at": 0, "control": true}]}})");
  EXPECT_EQ(run.out, "READY\nCTRL_DOWN\n");
}

// Keeps what was written and, at each flush, how much had been written then.
class FlushRecorder : public std::stringbuf {
 public:
  std::vector<size_t> flushedAt;

 protected:
  int sync() override {
    flushedAt.push_back(str().size());
    return 0;
  }
};

TEST(InputSentinel, EveryLineIsFlushedAsItIsWritten) {
  auto desktop = fake::loadSceneOrThrow(R"({"input": {"timeline": [
      {"at": 0.1, "control": true, "leftButton": true}, {"at": 0.2, "pointer": [5, 5]},
      {"at": 0.3, "control": false, "leftButton": false}]}})");
  FlushRecorder recorder;
  std::ostream out(&recorder);
  std::ostringstream err;
  ProgramContext context{{}, {}, out, err, desktop->platform()};
  ASSERT_EQ(runInputSentinel(context), 0);
  const std::string text = recorder.str();
  ASSERT_EQ(text, "READY\nCTRL_DOWN\nMOUSE_DOWN 0 0 0\nMOUSE_MOVE 5 5\nCTRL_UP\nMOUSE_UP 5 5 0\n");
  // A flush right after each line's newline, none in between.
  std::vector<size_t> lineEnds;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') lineEnds.push_back(i + 1);
  EXPECT_EQ(recorder.flushedAt, lineEnds);
}

struct ProbeCase {
  std::vector<std::string> arguments;
  const char* scene;
  const char* out;
  friend void PrintTo(const ProbeCase& c, std::ostream* os) {
    for (const std::string& argument : c.arguments)
      *os << argument << ' ';
  }
};

class Probe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(Probe, PrintsOneLineAndStartsNoTimer) {
  SentinelRun run = runSentinel(GetParam().scene, GetParam().arguments);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, GetParam().out);
  EXPECT_EQ(callsOf(*run.desktop), std::vector<std::string>{"checkAccess 1"});
}

INSTANTIATE_TEST_SUITE_P(
    InputSentinel, Probe,
    ::testing::Values(ProbeCase{{"--probe"}, "{}", "PROBE listenEventAccess=0\n"},
                      ProbeCase{{"first", "--probe", "last"},
                                R"({"input": {"listenEventAccess": 1}})",
                                "PROBE listenEventAccess=1\n"},
                      ProbeCase{{"--verbose", "--probe"},
                                R"({"input": {"listenEventAccess": 2,
                                    "timeline": [{"at": 0, "control": true}]}})",
                                "PROBE listenEventAccess=2\n"},
                      ProbeCase{{"--probe"},
                                R"({"input": {"listenEventAccess": 4294967295}})",
                                "PROBE listenEventAccess=4294967295\n"}));

TEST(InputSentinel, OnlyTheExactFlagProbes) {
  for (const char* argument : {"--probe=1", "--PROBE", "-probe", "probe", " --probe"}) {
    SentinelRun run = runSentinel(R"({"input": {"end": 0}})", {argument});
    EXPECT_EQ(run.out, "READY\n") << argument;
  }
}

TEST(ReportedCoordinate, RoundsHalvesAwayFromZeroAndHoldsToThe32BitRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double value;
    std::optional<int64_t> reported;
  };
  for (const Case& c :
       {Case{0, 0}, Case{-0.0, 0}, Case{0.5, 1}, Case{-0.5, -1}, Case{0.49999, 0},
        Case{-0.49999, 0}, Case{1.5, 2}, Case{2.5, 3}, Case{-2.5, -3}, Case{1511.999, 1512},
        Case{2147483647.0, 2147483647}, Case{2147483648.0, 2147483647},
        Case{-2147483648.6, -2147483648}, Case{1e300, 2147483647}, Case{-1e300, -2147483648},
        Case{inf, 2147483647}, Case{-inf, -2147483648}, Case{nan, std::nullopt}}) {
    EXPECT_EQ(reportedCoordinate(c.value), c.reported) << c.value;
  }
}

struct SceneErrorCase {
  const char* input;
  const char* message;
};

TEST(InputTimelineScene, MistakesNameWhereTheyAre) {
  for (const SceneErrorCase& c : {
           SceneErrorCase{R"([])", "input: must be the input section (a JSON object)"},
           SceneErrorCase{R"({"acces": 1})", "input: unknown key \"acces\""},
           SceneErrorCase{R"({"listenEventAccess": -1})",
                          "input.listenEventAccess: must be an unsigned 32-bit number"},
           SceneErrorCase{R"({"end": 601})", "input.end: must be between 0 and 600 seconds"},
           SceneErrorCase{R"({"timeline": [{"control": true}]})",
                          "input.timeline[0]: a timeline entry needs \"at\""},
           SceneErrorCase{R"({"timeline": [{"at": 0.5}, {"at": 0.2}]})",
                          "input.timeline[1].at: comes before the entry above it"},
           SceneErrorCase{R"({"timeline": [{"at": 0, "ctrl": true}]})",
                          "input.timeline[0]: unknown key \"ctrl\""},
           SceneErrorCase{R"({"timeline": [{"at": 0, "keys": {"65536": true}}]})",
                          "input.timeline[0].keys.65536: is not a number from 0 to 65535"},
           SceneErrorCase{R"({"timeline": [{"at": 0, "buttons": {"x": true}}]})",
                          "input.timeline[0].buttons.x: is not a number from 0 to 31"},
           SceneErrorCase{R"({"timeline": [{"at": 0, "pointer": [1]}]})",
                          "input.timeline[0].pointer: must be [x, y]"},
           SceneErrorCase{R"({"timeline": [{"at": 0, "pointer": [1, "NaN"]}]})",
                          "input.timeline[0].pointer[1]: must be a number, \"nan\""},
           SceneErrorCase{R"({"timeline": [{"at": 0, "flags": -4}]})",
                          "input.timeline[0].flags: must not be negative"},
       }) {
    auto desktop = fake::FakeDesktop::fromSceneText(std::string(R"({"input": )") + c.input + "}");
    const std::string* problem = std::get_if<std::string>(&desktop);
    ASSERT_NE(problem, nullptr) << c.input;
    EXPECT_TRUE(problem->starts_with(c.message)) << *problem;
  }
}

// The real binary on scene files, as the host runs it.
std::map<std::string, std::string> sceneEnvironment(const std::string& scene) {
  return {{"TESSARY_SIM_DESKTOP", tessary::testing::sourcePath(scene)}};
}

TEST(InputSentinelBinary, ProbesOnTheDemoDesktop) {
  auto run = tessary::testing::runBinary("input-sentinel", {"--probe"},
                                         sceneEnvironment("demo/desktop.json"));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, "PROBE listenEventAccess=0\n");
  EXPECT_EQ(run.err, "");
}

TEST(InputSentinelBinary, PlaysAScriptedTimeline) {
  auto run = tessary::testing::runBinary(
      "input-sentinel", {}, sceneEnvironment("input-sentinel/tests/scenes/select_with_shift.json"));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out,
            "READY\nSHIFT_DOWN\nMOUSE_DOWN 200 150 0\nMOUSE_MOVE 240 151\nMOUSE_MOVE 320 180\n"
            "MOUSE_UP 320 180 0\nSHIFT_UP\nESC\n");
  EXPECT_EQ(run.err, "");
}

TEST(InputSentinelBinary, RefusesABadTimelineWithOneLine) {
  auto run = tessary::testing::runBinary(
      "input-sentinel", {},
      sceneEnvironment("input-sentinel/tests/scenes/timeline_backwards.json"));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "error: " +
                         tessary::testing::sourcePath(
                             "input-sentinel/tests/scenes/timeline_backwards.json") +
                         ": input.timeline[1].at: comes before the entry above it\n");
}

}  // namespace
}  // namespace tessary
