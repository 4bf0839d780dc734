// What one poll of pane-scout's watch costs us: turning the window server's
// descriptions into entries, choosing the main window and building its line.
// The window list is ready in memory, so the platform's own call is not in
// the figure; a second set of runs adds copying the list, about what the
// macOS backend's translation of the CF dictionaries allocates.
#include <benchmark/benchmark.h>

#include <string>

#include "pane-scout/result_lines.h"
#include "pane-scout/window_entry.h"
#include "pane-scout/window_resolution.h"
#include "platform/plist_value.h"

namespace {

using namespace tessary;

// A list as the window server gives it: eleven keys per window, the menu
// bar and status items in front, and the followed process's main window at
// the back, so the whole list is walked.
PlistArray windowList(int count) {
  PlistArray list;
  for (int i = 0; i < count; ++i) {
    const bool followed = i == count - 1;
    const int64_t layer = i < 3 ? 25 : 0;
    list.push_back(PlistValue(PlistDict{
        {"kCGWindowAlpha", 1.0},
        {"kCGWindowBounds", PlistDict{{"X", 20.0 * (i % 40)},
                                      {"Y", 25.0 + 10 * (i % 30)},
                                      {"Width", 640.0},
                                      {"Height", 480.0}}},
        {"kCGWindowIsOnscreen", true},
        {"kCGWindowLayer", layer},
        {"kCGWindowMemoryUsage", int64_t{1184}},
        {"kCGWindowName", followed ? "Inbox - Mail" : "Document " + std::to_string(i)},
        {"kCGWindowNumber", int64_t{1000 + i}},
        {"kCGWindowOwnerName", followed ? "Mail" : "Application " + std::to_string(i % 25)},
        {"kCGWindowOwnerPID", int64_t{followed ? 4242 : 500 + i % 25}},
        {"kCGWindowSharingState", int64_t{1}},
        {"kCGWindowStoreType", int64_t{1}},
    }));
  }
  return list;
}

std::string pollLine(const PlistArray& list) {
  auto entries = panescout::windowEntriesFrom(list);
  const panescout::WindowEntry* window =
      entries ? panescout::mainWindowOf(*entries, 4242) : nullptr;
  return window ? panescout::windowLine(*window, "/Applications/Mail.app") : "gone";
}

void BM_WatchPoll(benchmark::State& state) {
  const PlistArray list = windowList(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string line = pollLine(list);
    benchmark::DoNotOptimize(line);
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_WatchPoll)->Arg(50)->Arg(500);

void BM_WatchPollWithListCopy(benchmark::State& state) {
  const PlistArray list = windowList(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    PlistArray copy = list;
    std::string line = pollLine(copy);
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(BM_WatchPollWithListCopy)->Arg(50)->Arg(500);

}  // namespace

BENCHMARK_MAIN();
