// The curtain's simulated services: their scene sections, the run loop's
// order of work, timers and reads, and transactions with animations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_compositor.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_pasteboard.h"
#include "platform/fake/fake_run_loop.h"

namespace tessary::fake {
namespace {

std::string loadProblem(std::string_view scene) {
  auto loaded = FakeDesktop::fromSceneText(scene);
  if (auto* problem = std::get_if<std::string>(&loaded)) return *problem;
  return "(loaded)";
}

TEST(OverlayScene, SectionsAndTheirMistakes) {
  struct Case {
    const char* scene;
    const char* problem;
  } cases[] = {
      {R"({"application": {"inputInterval": 0.5}, "compositor": {"backingScaleFactor": 2},
           "pasteboard": {"refusesStrings": true}, "random": {"seed": 9}})",
       "(loaded)"},
      {R"({"application": {"inputInterval": null}})", "(loaded)"},
      {R"({"application": {"inputInterval": -1}})",
       "application.inputInterval: must be a number of seconds, 0 or more"},
      {R"({"application": {"interval": 1}})",
       "application: unknown key \"interval\" (inputInterval)"},
      {R"({"compositor": {"backingScaleFactor": 0}})",
       "compositor.backingScaleFactor: must be a number in (0, 16]"},
      {R"({"compositor": 2})",
       "compositor: must be an object with backingScaleFactor (a JSON object)"},
      {R"({"pasteboard": {"refusesStrings": 1}})",
       "pasteboard.refusesStrings: must be true or false"},
      {R"({"random": {"seed": 1.5}})", "random.seed: must be a whole number"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(loadProblem(c.scene), c.problem) << c.scene;

  auto desktop = loadSceneOrThrow(R"({"application": {"inputInterval": 0.5},
      "compositor": {"backingScaleFactor": 2}, "pasteboard": {"refusesStrings": true}})");
  EXPECT_EQ(desktop->application().inputInterval, 0.5);
  EXPECT_EQ(desktop->compositor().scaleFactor, 2);
  EXPECT_FALSE(desktop->platform().pasteboard.setPlainString("x"));
}

TEST(OverlayScene, SeededRandomRepeats) {
  auto draws = [](const char* scene) {
    auto desktop = loadSceneOrThrow(scene);
    std::vector<uint64_t> values;
    for (int i = 0; i < 5; ++i)
      values.push_back(desktop->platform().random.uniformInteger(9));
    return values;
  };
  EXPECT_EQ(draws(R"({"random": {"seed": 4}})"), draws(R"({"random": {"seed": 4}})"));
  EXPECT_NE(draws(R"({"random": {"seed": 4}})"), draws(R"({"random": {"seed": 5}})"));
  for (uint64_t value : draws("{}"))
    EXPECT_LE(value, 9u);
}

TEST(OverlayRunLoop, MainQueueThenTimersThenReads) {
  auto desktop = loadSceneOrThrow(R"({"application": {"inputInterval": 0.1}})");
  FakeApplication& application = desktop->application();
  std::vector<std::string> events;
  ScriptedInput input({"a", "b"});
  application.run([&] {
    events.push_back("launched");
    application.scheduleAfter(0.15, [&] { events.push_back("timer"); });
    application.readStandardInput(&input, [&](std::string_view bytes) {
      events.push_back(bytes.empty() ? "end" : std::string(bytes));
      if (bytes.empty()) application.performOnMainQueue([&] { application.terminate(); });
    });
    application.performOnMainQueue([&] { events.push_back("queued"); });
  });
  // Reads at 0, 0.1 and 0.2; the timer at 0.15 between them.
  EXPECT_EQ(events, (std::vector<std::string>{"launched", "queued", "a", "b", "timer", "end"}));
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 0.2);
}

TEST(OverlayTransactions, CompleteWhenTheirAnimationsFinishOrGo) {
  auto desktop = loadSceneOrThrow("{}");
  Compositor& compositor = desktop->platform().compositor;
  FakeApplication& application = desktop->application();
  BandWindowConfig config;
  const CompositorWindowId first = compositor.createBandWindow(config);
  const CompositorWindowId second = compositor.createBandWindow(config);
  std::vector<std::string> done;

  compositor.beginTransaction();
  compositor.setTransactionCompletion([&] { done.push_back("fade"); });
  compositor.addOpacityAnimation(first, "k", 0, 1, 0.1, "linear");
  compositor.addOpacityAnimation(second, "k", 0, 1, 0.2, "linear");
  compositor.commitTransaction();
  application.runFor(0.05);
  EXPECT_NEAR(*compositor.presentationOpacity(first), 0.5, 1e-6);
  application.runFor(0.1);
  EXPECT_TRUE(done.empty());  // the second still runs
  EXPECT_EQ(*compositor.presentationOpacity(first), compositor.layerOpacity(first));
  compositor.removeLayerAnimation(second, "k");
  EXPECT_TRUE(done.empty());  // completions run from the main queue
  application.runFor(0);
  EXPECT_EQ(done, std::vector<std::string>{"fade"});

  // Without animations: after the commit, on the main queue.
  compositor.beginTransaction();
  compositor.setTransactionCompletion([&] { done.push_back("empty"); });
  compositor.commitTransaction();
  EXPECT_EQ(done.size(), 1u);
  application.runFor(0);
  EXPECT_EQ(done.back(), "empty");
}

}  // namespace
}  // namespace tessary::fake
