// The visibility index over many overlapping windows: building it, the pieces
// of the frontmost window (what a capture uses), and the pieces of every
// window (the worst case, when every entry is asked for).
#include <benchmark/benchmark.h>

#include <optional>
#include <set>
#include <vector>

#include "scene-census/capture/visibility_index.h"

namespace tessary {
namespace {

// A window server that answers with a fixed list: the cost measured is ours.
class FixedWindowServer : public WindowServer {
 public:
  explicit FixedWindowServer(PlistArray windows) : windows_(std::move(windows)) {}
  std::optional<PlistArray> copyWindowInfo(uint32_t, uint32_t) override { return windows_; }

 private:
  PlistArray windows_;
};

class FixedScreens : public Screens {
 public:
  std::optional<Rect> mainScreenFrame() override { return Rect{0, 0, 1512, 982}; }
};

// Windows of one application cascaded 7 points apart, wrapping inside the
// screen, so every window overlaps dozens of others.
PlistArray cascadedWindows(int count) {
  PlistArray windows;
  windows.reserve(count);
  for (int i = 0; i < count; ++i) {
    const double offset = (i * 7) % 600;
    windows.push_back(PlistDict{
        {"kCGWindowLayer", 0},
        {"kCGWindowOwnerName", "Cascade"},
        {"kCGWindowOwnerPID", 4242},
        {"kCGWindowName", "Document " + std::to_string(i)},
        {"kCGWindowAlpha", 1.0},
        {"kCGWindowNumber", 1000 + i},
        {"kCGWindowBounds",
         PlistDict{
             {"X", 40.0 + offset}, {"Y", 30.0 + offset / 2}, {"Width", 700.0}, {"Height", 500.0}}},
    });
  }
  return windows;
}

// One cascade and the inputs of the index, shared by the benchmarks below.
struct Cascade {
  explicit Cascade(int64_t count) : windowServer(cascadedWindows(static_cast<int>(count))) {}
  GlobalVisibleIndex build() {
    return buildGlobalVisibleIndex(windowServer, screens, pids, excluded, false);
  }
  FixedWindowServer windowServer;
  FixedScreens screens;
  const std::vector<int32_t> pids{4242};
  const std::set<int32_t> excluded;
};

void BM_BuildIndexAndFrontWindow(benchmark::State& state) {
  Cascade cascade(state.range(0));
  for (auto _ : state) {
    GlobalVisibleIndex index = cascade.build();
    benchmark::DoNotOptimize(index.visible(0).size());
  }
}
BENCHMARK(BM_BuildIndexAndFrontWindow)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMicrosecond);

// The backmost window sees every other window in front of it.
void BM_BuildIndexAndBackWindow(benchmark::State& state) {
  Cascade cascade(state.range(0));
  for (auto _ : state) {
    GlobalVisibleIndex index = cascade.build();
    benchmark::DoNotOptimize(index.visible(index.size() - 1).size());
  }
}
BENCHMARK(BM_BuildIndexAndBackWindow)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMicrosecond);

void BM_EveryWindowsPieces(benchmark::State& state) {
  Cascade cascade(state.range(0));
  for (auto _ : state) {
    GlobalVisibleIndex index = cascade.build();
    size_t pieces = 0;
    for (size_t i = 0; i < index.size(); ++i)
      pieces += index.visible(i).size();
    benchmark::DoNotOptimize(pieces);
  }
}
BENCHMARK(BM_EveryWindowsPieces)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessary

BENCHMARK_MAIN();
