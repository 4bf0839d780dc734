// frost-curtain sessions in virtual time: start-up, show and hide with their
// ids and fades, the other commands, and the end of input.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "frost-curtain/tests/curtain_session.h"
#include "platform/fake/value_text.h"

namespace tessary::curtain {
namespace {

using fake::FakeBandWindow;

std::unique_ptr<fake::FakeDesktop> twoScreens(const std::string& extra = "") {
  std::string scene = kTwoScreens;
  if (!extra.empty()) scene.insert(scene.size() - 1, ", " + extra);
  return fake::loadSceneOrThrow(scene);
}

TEST(CurtainStart, WarmsEveryBandUpAndSaysReady) {
  auto desktop = twoScreens();
  SessionRun run = runSession(*desktop, {});
  EXPECT_EQ(run.out, "ready\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(desktop->application().activationPolicy(), kActivationPolicyProhibited);
  EXPECT_EQ(desktop->application().activations(), 0);
  EXPECT_TRUE(desktop->application().terminated());

  const fake::FakeCompositor& compositor = desktop->compositor();
  ASSERT_EQ(compositor.windows().size(), 8u);
  const std::vector<BlurLayerSpec> specs = bandSpecs(PreviewParameters{});
  for (size_t k = 0; k < 8; ++k) {
    const FakeBandWindow& band = compositor.windows()[k];
    const BandWindowConfig& config = band.config;
    EXPECT_EQ(config.styleMask, 0u);
    EXPECT_EQ(config.level, 3);
    EXPECT_TRUE(config.ignoresMouseEvents);
    EXPECT_EQ(config.collectionBehavior, 257u);
    EXPECT_FALSE(config.releasedWhenClosed);
    EXPECT_EQ(config.animationBehavior, 2);
    EXPECT_EQ(config.blendingMode, 0);
    EXPECT_EQ(config.state, 1);
    EXPECT_EQ(config.autoresizingMask, 18u);
    EXPECT_EQ(band.material, 2);
    // Created parked, then moved to its place, ordered front once and out
    // again while invisible.
    EXPECT_FALSE(band.visible);
    EXPECT_EQ(band.alpha, 0);
    const Rect target = targetFrame(Rect{0, 0, 1000, 800}, kDefaultHeightRatio, specs[k]);
    EXPECT_EQ(band.config.contentRect, parkedFrame(target)) << k;
    EXPECT_EQ(band.frame, target) << k;
    EXPECT_EQ(band.viewFrame, (Rect{0, 0, target.w, target.h}));
    ASSERT_TRUE(band.mask);
    EXPECT_EQ(band.mask->image.width, 1000);
  }
  EXPECT_EQ(callsOf(*desktop, {"orderFrontRegardless", "orderOut"}).size(), 16u);
}

TEST(CurtainStart, WithoutAnyScreenItSaysSoAndEnds) {
  auto desktop = fake::loadSceneOrThrow("{}");
  SessionRun run = runSession(*desktop, {{"show 1\n", std::nullopt}});
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "error: could not resolve active screen\n");
  EXPECT_TRUE(desktop->application().terminated());
  EXPECT_TRUE(desktop->compositor().windows().empty());
  EXPECT_TRUE(callsOf(*desktop, {"readStandardInput"}).empty());
}

TEST(CurtainStart, TuningModeShowsTheCurtainAtOnce) {
  auto desktop = twoScreens();
  SessionRun run = runSession(*desktop, {}, {"0.3", "--tuning"});
  EXPECT_EQ(run.out, "ready\n");
  EXPECT_EQ(desktop->application().activationPolicy(), kActivationPolicyAccessory);
  EXPECT_EQ(desktop->application().activations(), 1);
  const std::vector<BlurLayerSpec> specs = bandSpecs(PreviewParameters{});
  for (size_t k = 0; k < 8; ++k) {
    const FakeBandWindow& band = desktop->compositor().windows()[k];
    EXPECT_TRUE(band.visible);
    EXPECT_EQ(band.alpha, specs[k].targetAlpha);
    EXPECT_EQ(band.frame, targetFrame(Rect{0, 0, 1000, 800}, 0.3, specs[k]));
  }
  // The shortest band, ordered front last, is in front.
  EXPECT_EQ(desktop->compositor().visibleFrontToBack().front(), 8u);
  EXPECT_EQ(desktop->tuningPanel().timesShown, 1);
}

TEST(CurtainShowHide, RepliesOnceEachFadeHasEnded) {
  auto desktop = twoScreens();
  SessionRun run = runSession(*desktop, {{"show 1\n", std::nullopt},
                                         {"hide 2\n", std::nullopt},
                                         {"show +4\n", std::nullopt},
                                         {"hide -9223372036854775808\n", std::nullopt}});
  EXPECT_EQ(run.out, "ready\nshown 1\nhidden 2\nshown 4\nhidden -9223372036854775808\n");
  EXPECT_EQ(run.err, "");
  // Hidden: every band ordered out and parked again.
  for (const FakeBandWindow& band : desktop->compositor().windows()) {
    EXPECT_FALSE(band.visible);
    EXPECT_LE(band.opacity, kFadedOutOpacity);
    EXPECT_LT(band.frame.y, 0);
  }
}

TEST(CurtainShowHide, ShowFadesInOverItsDurationInOneTransaction) {
  auto desktop = twoScreens();
  desktop->clearCalls();
  SessionRun run = runSession(*desktop, {{"show 1\n", 0.049}, {"copy\n", std::nullopt}});
  // The copy arrives just before the fade-in ends, so its reply comes first.
  EXPECT_EQ(run.out, "ready\ncopied\nshown 1\n");
  std::vector<std::string> transaction =
      callsOf(*desktop, {"beginTransaction", "setTransactionDisableActions", "commitTransaction"});
  EXPECT_EQ(transaction,
            (std::vector<std::string>{"beginTransaction  ", "setTransactionDisableActions  true",
                                      "commitTransaction  "}));
  std::vector<std::string> animations = callsOf(*desktop, {"addOpacityAnimation"});
  ASSERT_EQ(animations.size(), 8u);
  EXPECT_EQ(animations[0], "addOpacityAnimation band1 frost-curtain.opacity 0 -> " +
                               fake::numberText(static_cast<float>(0.5622468922151332)) +
                               " 0.05s easeInEaseOut");
  const std::vector<BlurLayerSpec> specs = bandSpecs(PreviewParameters{});
  for (size_t k = 0; k < 8; ++k) {
    const FakeBandWindow& band = desktop->compositor().windows()[k];
    EXPECT_TRUE(band.visible);
    EXPECT_EQ(band.frame, targetFrame(Rect{0, 0, 1000, 800}, kDefaultHeightRatio, specs[k]));
    EXPECT_EQ(band.alpha, specs[k].targetAlpha);
  }
}

TEST(CurtainShowHide, OnlyTheLatestIdIsAnswered) {
  struct Case {
    const char* name;
    std::vector<TimedInput::Chunk> chunks;
    const char* out;
  } cases[] = {
      {"show 5, hide 6 during the fade-in",
       {{"show 5\n", 0.02}, {"hide 6\n", std::nullopt}},
       "ready\nhidden 6\n"},
      {"show 7, then show 3", {{"show 7\n", 0.01}, {"show 3\n", std::nullopt}}, "ready\nshown 3\n"},
      {"lower ids are not stale",
       {{"show 7\n", std::nullopt}, {"show 3\n", std::nullopt}},
       "ready\nshown 7\nshown 3\n"},
      {"hide, then show during the fade-out",
       {{"show 1\n", std::nullopt}, {"hide 2\n", 0.03}, {"show 3\n", std::nullopt}},
       "ready\nshown 1\nshown 3\n"},
      {"two commands in one read", {{"show 1\nhide 2\n", std::nullopt}}, "ready\nhidden 2\n"},
      {"the same id twice",
       {{"show 1\n", 0.0}, {"show 1\n", std::nullopt}},
       "ready\nshown 1\nshown 1\n"},
  };
  for (const Case& c : cases) {
    auto desktop = twoScreens();
    SessionRun run = runSession(*desktop, c.chunks);
    EXPECT_EQ(run.out, c.out) << c.name;
    EXPECT_EQ(run.err, "") << c.name;
  }
}

TEST(CurtainShowHide, ShowInterruptingAHideStartsFromTheCurrentOpacity) {
  auto desktop = twoScreens();
  // The hide has run half its 0.065 s when the show arrives.
  runSession(*desktop,
             {{"show 1\n", std::nullopt}, {"hide 2\n", 0.0325}, {"show 3\n", std::nullopt}});
  std::vector<std::string> animations = callsOf(*desktop, {"addOpacityAnimation"});
  ASSERT_EQ(animations.size(), 24u);
  // Band 1's fade-in starts where the fade-out stood: half way, as the
  // ease-in-ease-out curve is symmetric.
  const float tallest = static_cast<float>(0.5622468922151332);
  EXPECT_EQ(animations[8], "addOpacityAnimation band1 frost-curtain.opacity " +
                               fake::numberText(tallest) + " -> 0 0.065s easeInEaseOut");
  const std::string prefix = "addOpacityAnimation band1 frost-curtain.opacity ";
  ASSERT_EQ(animations[16].substr(0, prefix.size()), prefix);
  EXPECT_NEAR(std::stod(animations[16].substr(prefix.size())), tallest / 2.0, 1e-6);
  // The interrupted hide ordered nothing out: every band is still in.
  for (const FakeBandWindow& band : desktop->compositor().windows())
    EXPECT_TRUE(band.visible);
}

TEST(CurtainShowHide, HideWhileHiddenStillAnswersAndParks) {
  auto desktop = twoScreens();
  SessionRun run = runSession(*desktop, {{"hide 1\n", std::nullopt}});
  EXPECT_EQ(run.out, "ready\nhidden 1\n");
}

TEST(CurtainCommands, ErrorLinesForBadCommands) {
  auto desktop = twoScreens();
  SessionRun run = runSession(
      *desktop,
      {{"show\nshow x\nshow 1 2\nshow  1\nshow +\nshow -\nhide\nhide 9223372036854775808\n"
        "SHOW 1\nshow\t1\nfrobnicate the curtain\n",
        std::nullopt}});
  EXPECT_EQ(run.out, "ready\n");
  EXPECT_EQ(run.err,
            "error: show command requires id\n"
            "error: show command requires id\n"
            "error: show command requires id\n"
            "error: show command requires id\n"
            "error: show command requires id\n"
            "error: show command requires id\n"
            "error: hide command requires id\n"
            "error: hide command requires id\n"
            "error: unknown command SHOW 1\n"
            "error: unknown command show\t1\n"
            "error: unknown command frobnicate the curtain\n");
  EXPECT_TRUE(callsOf(*desktop, {"beginTransaction"}).empty());
}

TEST(CurtainCommands, SurroundingSpaceAndCarriageReturnChangeNothing) {
  auto desktop = twoScreens();
  SessionRun run =
      runSession(*desktop, {{"  show 1 \r\n", std::nullopt}, {"\thide 2\r\n", std::nullopt}});
  EXPECT_EQ(run.out, "ready\nshown 1\nhidden 2\n");
  EXPECT_EQ(run.err, "");
}

TEST(CurtainCommands, CopyPutsSortedJsonOnThePasteboard) {
  auto desktop = twoScreens();
  SessionRun run = runSession(*desktop, {{"copy\n", std::nullopt}}, {"0.25"});
  EXPECT_EQ(run.out, "ready\ncopied\n");
  ASSERT_TRUE(desktop->pasteboard().plainString);
  nlohmann::json parsed = nlohmann::json::parse(*desktop->pasteboard().plainString);
  EXPECT_EQ(parsed.size(), 17u);
  EXPECT_EQ(parsed["heightRatio"], 0.25);
  EXPECT_EQ(callsOf(*desktop, {"clearPasteboard", "setPasteboardString"}).size(), 2u);
}

TEST(CurtainCommands, RefusedPasteboardIsNotReportedAsCopied) {
  auto desktop = twoScreens(R"("pasteboard": {"refusesStrings": true})");
  SessionRun run = runSession(*desktop, {{"copy\n", std::nullopt}});
  EXPECT_EQ(run.out, "ready\n");
}

TEST(CurtainCommands, RandomizeRebuildsTheBandsAndKeepsVisibility) {
  auto desktop = twoScreens(R"("random": {"seed": 42})");
  SessionRun run = runSession(*desktop, {{"randomize\n", std::nullopt}, {"copy\n", std::nullopt}});
  EXPECT_EQ(run.out, "ready\ncopied\n");
  nlohmann::json parsed = nlohmann::json::parse(*desktop->pasteboard().plainString);
  const int64_t layers = parsed["layerCount"];
  EXPECT_GE(parsed["heightRatio"].get<double>(), kDefaultHeightRatio - 0.05);
  EXPECT_LE(parsed["heightRatio"].get<double>(), kDefaultHeightRatio + 0.08);
  EXPECT_EQ(parsed["materialName"], "dark");
  size_t live = 0;  // dropped bands are closed; the rest are released at the end
  for (const FakeBandWindow& band : desktop->compositor().windows()) {
    live += !band.closed;
    EXPECT_FALSE(band.visible);
  }
  EXPECT_EQ(live, static_cast<size_t>(layers));
  EXPECT_TRUE(callsOf(*desktop, {"beginTransaction"}).empty());  // no fade
}

TEST(CurtainEnd, ExitAndEndOfInputTerminateAtOnce) {
  struct Case {
    const char* name;
    std::vector<TimedInput::Chunk> chunks;
    const char* out;
  } cases[] = {
      {"exit, nothing after it runs", {{"exit\nshow 1\n", std::nullopt}}, "ready\n"},
      {"exit with an argument",
       {{"exit now\n", std::nullopt}, {"copy\n", std::nullopt}},
       "ready\n"},
      {"end of input during the fade-in", {{"show 1\n", 0.01}}, "ready\n"},
      {"partial final line never runs", {{"copy\ncopy", std::nullopt}}, "ready\ncopied\n"},
  };
  for (const Case& c : cases) {
    auto desktop = twoScreens();
    SessionRun run = runSession(*desktop, c.chunks);
    EXPECT_EQ(run.out, c.out) << c.name;
    EXPECT_TRUE(desktop->application().terminated()) << c.name;
  }
}

}  // namespace
}  // namespace tessary::curtain
