// Watch mode: the interval, one line per change in virtual time, and the end
// of standard input ending the watch with status 0.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <sstream>

#include "pane-scout/input_drain.h"
#include "pane-scout/tests/scout_run.h"
#include "pane-scout/watch.h"

namespace tessary::panescout {
namespace {

// The platform's clock, which also ends the watch's input after a number of
// sleeps, as the host closing the pipe would.
class InputEndingClock : public Clock {
 public:
  InputEndingClock(Clock& real, std::atomic<bool>& inputEnded, int sleepsBeforeEnd)
      : real_(real), inputEnded_(inputEnded), left_(sleepsBeforeEnd) {}
  double now() override { return real_.now(); }
  void sleepMicroseconds(uint64_t microseconds) override {
    real_.sleepMicroseconds(microseconds);
    if (--left_ == 0) inputEnded_.store(true);
  }
  void runRunLoop(double seconds) override { real_.runRunLoop(seconds); }

 private:
  Clock& real_;
  std::atomic<bool>& inputEnded_;
  int left_;
};

struct Watched {
  std::string out;
  std::vector<std::string> sleeps;
  size_t listReads = 0;
};

Watched watchFor(fake::FakeDesktop& desktop, int32_t pid, int64_t intervalMs, int sleeps) {
  std::atomic<bool> inputEnded{false};
  Platform& real = desktop.platform();
  InputEndingClock clock(real.clock, inputEnded, sleeps);
  Platform platform{
      real.accessibility, real.windowServer,     real.screens,   real.workspace, clock,
      real.hostWindows,   real.speechRecognizer, real.inputState};
  std::ostringstream out;
  desktop.clearCalls();
  followMainWindow(platform, pid, intervalMs, out, inputEnded);
  Watched watched{out.str(), {}, 0};
  for (const fake::PlatformCall& call : desktop.calls()) {
    if (call.operation == "sleepMicroseconds") watched.sleeps.push_back(call.detail);
    if (call.operation == "copyWindowInfo") ++watched.listReads;
  }
  return watched;
}

TEST(WatchInterval, FromTheArgument) {
  const std::vector<std::pair<const char*, int64_t>> cases = {
      {"17", 17},   {"1000", 1000},
      {"16", 16},   {"5", 16},
      {"0", 16},    {"-40", 16},
      {"fast", 33}, {"", 33},
      {" 40", 33},  {"40ms", 33},
      {"+40", 40},  {"1e3", 33},
      {"0x20", 33}, {"9223372036854775808", 33}};
  for (const auto& [argument, expected] : cases) {
    const std::string text = argument;
    EXPECT_EQ(watchIntervalMs(&text), expected) << '"' << argument << '"';
  }
  EXPECT_EQ(watchIntervalMs(nullptr), 33);
}

TEST(Watch, StillWindowWritesOneLineOverManyPolls) {
  auto desktop = fake::loadSceneOrThrow(R"({"applications": [{"pid": 42, "name": "Notes"}],
      "windowList": [{"pid": 42, "name": "Groceries", "number": 7, "bounds": [10, 20, 800, 600]}]})");
  Watched watched = watchFor(*desktop, 42, 33, 500);
  EXPECT_EQ(
      watched.out,
      "ok pid=42 cgWindowId=7 x=10 y=20 w=800 h=600 owner=Notes title=Groceries appBundle=\n");
  EXPECT_EQ(watched.listReads, 500u);
  EXPECT_EQ(watched.sleeps, std::vector<std::string>(500, "33000"));
}

TEST(Watch, OneLinePerChangeGoneOnceAndBackAgain) {
  auto desktop = fake::loadSceneFileOrThrow(testing::scenePath("window_moves_and_closes.json"));
  // 0.5 s of polls every 20 ms.
  Watched watched = watchFor(*desktop, 42, 20, 25);
  EXPECT_EQ(watched.out, testing::kWindowMovesAndClosesLines);
  EXPECT_EQ(watched.listReads, 25u);
}

TEST(Watch, ShortIntervalsPollEvery16Milliseconds) {
  auto desktop = fake::loadSceneOrThrow(R"({"windowList": []})");
  std::string five = "5";
  Watched watched = watchFor(*desktop, 42, watchIntervalMs(&five), 3);
  EXPECT_EQ(watched.out, "gone\n");
  EXPECT_EQ(watched.sleeps, (std::vector<std::string>{"16000", "16000", "16000"}));
  EXPECT_NEAR(desktop->elapsedSeconds(), 0.048, 1e-9);
}

TEST(Watch, IntervalsPastAnyClockSleepTheLongestTime) {
  auto desktop = fake::loadSceneOrThrow(R"({"windowList": []})");
  Watched watched = watchFor(*desktop, 42, 9223372036854775807, 1);
  EXPECT_EQ(watched.sleeps, (std::vector<std::string>{"18446744073709551615"}));
}

// The whole command in process: the reader meets the end of the scripted
// input (or a read error) and the watch returns 0 after its first answer.
TEST(WatchCommand, EndsWithStatusZeroAtEndOfInputOrAReadError) {
  auto desktop = fake::loadSceneOrThrow(R"({"applications": [{"pid": 42, "name": "Notes"}],
      "windowList": [{"pid": 42, "name": "Groceries", "number": 7, "bounds": [10, 20, 800, 600]}]})");
  const std::string line =
      "ok pid=42 cgWindowId=7 x=10 y=20 w=800 h=600 owner=Notes title=Groceries appBundle=\n";
  ScriptedInput endOfInput({"ignored\n", "bytes"});
  ScriptedInput readError({"x"}, /*errorNumberAtEnd=*/5);
  for (ScriptedInput* input : {&endOfInput, &readError}) {
    testing::ScoutRun run =
        testing::runScout(desktop->platform(), {"watch", "42", "fast", "x"}, {}, input);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, line);
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(endOfInput.readCount(), 3u);
  EXPECT_EQ(readError.readCount(), 2u);
  // Without any standard input the watch ends as at its end.
  testing::ScoutRun run = testing::runScout(desktop->platform(), {"watch", "42"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, line);
}

// Input that blocks until released, as a pipe the host keeps open.
class HeldInput : public InputStream {
 public:
  long read(char*, size_t, int&) override {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return closed_; });
    return 0;
  }
  void close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    released_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool closed_ = false;
};

TEST(InputDrain, ReportsTheEndOnceAndOnlyAtTheEnd) {
  HeldInput input;
  std::atomic<int> ends{0};
  {
    InputDrain drain(input, [&] { ++ends; });
    EXPECT_EQ(ends.load(), 0);
    input.close();
  }
  EXPECT_EQ(ends.load(), 1);

  ScriptedInput chunks({std::string(10000, 'x'), "y"});
  {
    InputDrain drain(chunks, [&] { ++ends; });
  }
  EXPECT_EQ(ends.load(), 2);
  // Every byte is read (three reads of the long chunk, one of the short one),
  // then the end.
  EXPECT_EQ(chunks.readCount(), 5u);
}

}  // namespace
}  // namespace tessary::panescout
