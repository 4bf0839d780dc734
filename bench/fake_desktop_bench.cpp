// The simulated desktop under a large tree: loading a scene of 100,000
// elements, and walking it the way a capture reads (a ranged child read and
// one batch read per element) with recording off.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/fake/fake_desktop.h"

namespace tessary {
namespace {

// A window with `groups` groups of `perGroup` buttons each.
std::string wideScene(int groups, int perGroup) {
  std::string scene =
      R"({"applications": [{"pid": 7, "element": {"windows": [{"id": "w", "role": "AXWindow", "frame": [0, 0, 1000, 1000], "children": [)";
  for (int g = 0; g < groups; ++g) {
    if (g) scene += ",";
    scene += R"({"role": "AXGroup", "frame": [0, 0, 1000, 1000], "children": [)";
    for (int i = 0; i < perGroup; ++i) {
      if (i) scene += ",";
      scene += R"({"role": "AXButton", "title": "Button )" + std::to_string(i) +
               R"(", "enabled": true, "frame": [)" + std::to_string(i % 1000) + ", " +
               std::to_string(g) + ", 10, 10]}";
    }
    scene += "]}";
  }
  return scene + "]}]}}]}";
}

// Heap bytes in use (glibc); the difference around a load is what the
// desktop keeps, the parsed JSON being gone by then.
double heapBytesInUse() {
  return static_cast<double>(mallinfo2().uordblks);
}

void BM_LoadScene(benchmark::State& state) {
  const std::string scene = wideScene(100, static_cast<int>(state.range(0)) / 100);
  double kept = 0;
  for (auto _ : state) {
    const double before = heapBytesInUse();
    auto desktop = fake::loadSceneOrThrow(scene);
    kept = heapBytesInUse() - before;
    benchmark::DoNotOptimize(desktop);
  }
  state.counters["bytesPerElement"] = kept / static_cast<double>(state.range(0));
}
BENCHMARK(BM_LoadScene)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_WalkTree(benchmark::State& state) {
  auto desktop = fake::loadSceneOrThrow(wideScene(100, static_cast<int>(state.range(0)) / 100));
  desktop->setRecording(false);
  Accessibility& accessibility = desktop->platform().accessibility;
  const std::vector<std::string_view> attributes = {
      "AXRole", "AXTitle",       "AXEnabled",         "AXFocused",    "AXPosition",
      "AXSize", "AXDescription", "AXRoleDescription", "AXIdentifier", "AXValue"};
  for (auto _ : state) {
    std::vector<AXElement> pending{desktop->element("w")};
    size_t visited = 0;
    while (!pending.empty()) {
      AXElement element = std::move(pending.back());
      pending.pop_back();
      ++visited;
      benchmark::DoNotOptimize(accessibility.copyMultipleAttributeValues(element, attributes));
      AXResult children = accessibility.copyAttributeValues(element, "AXChildren", 0, 9999);
      if (const AXValue* list = children.get()) {
        for (const AXValue& child : *list->list())
          pending.push_back(*child.element());
      }
    }
    benchmark::DoNotOptimize(visited);
  }
  state.counters["roundTripsPerWalk"] = static_cast<double>(desktop->accessibilityRoundTrips()) /
                                        static_cast<double>(state.iterations());
}
BENCHMARK(BM_WalkTree)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessary

BENCHMARK_MAIN();
