// pane_anchor's walk of the on-screen window list, with the host's window at
// the back so that every entry is read and listed (the worst case), and the
// whole describeZOrder on the simulated desktop (the list copy included; on
// macOS the window server's own cost comes on top).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "pane_anchor/window_anchor.h"
#include "pane_anchor/z_order.h"
#include "platform/fake/fake_desktop.h"

namespace tessary::anchor {
namespace {

PlistArray windowsInFront(int count) {
  PlistArray windows;
  windows.reserve(count + 1);
  for (int i = 0; i < count; ++i) {
    windows.push_back(PlistDict{{"kCGWindowNumber", 1000 + i},
                                {"kCGWindowOwnerName", "Application " + std::to_string(i % 40)},
                                {"kCGWindowLayer", i < 10 ? 25 : 0},
                                {"kCGWindowOwnerPID", 4000 + i % 40},
                                {"kCGWindowAlpha", 1.0}});
  }
  windows.push_back(PlistDict{{"kCGWindowNumber", 501}, {"kCGWindowOwnerName", "Tessary"}});
  return windows;
}

void BM_FindZOrderPlace(benchmark::State& state) {
  const std::optional<PlistArray> list = windowsInFront(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ZOrderPlace place = findZOrderPlace(list, 501);
    benchmark::DoNotOptimize(place);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindZOrderPlace)->Arg(10)->Arg(100)->Arg(1000);

void BM_DescribeZOrderOnTheSimulatedDesktop(benchmark::State& state) {
  std::string scene = R"({"windowList": [)";
  for (int i = 0; i < state.range(0); ++i) {
    scene += R"({"number": )" + std::to_string(1000 + i) + R"(, "owner": "Application", )" +
             R"("bounds": [0, 0, 100, 100]},)";
  }
  scene += R"({"number": 501, "owner": "Tessary", "bounds": [0, 0, 100, 100]}],
      "hostViews": [{"address": "0x600000001000", "window": 501}]})";
  auto desktop = fake::loadSceneOrThrow(scene);
  desktop->setRecording(false);
  std::vector<uint8_t> handle(8);
  const uint64_t view = 0x600000001000;
  std::memcpy(handle.data(), &view, 8);
  for (auto _ : state) {
    ZOrderDescription description = describeZOrder(desktop->platform(), handle);
    benchmark::DoNotOptimize(description);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DescribeZOrderOnTheSimulatedDesktop)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace
}  // namespace tessary::anchor

BENCHMARK_MAIN();
