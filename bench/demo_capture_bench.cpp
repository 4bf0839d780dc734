// Whole capture runs through the simulated desktop, counting what would cross
// the process boundary on macOS: accessibility round trips per built element
// on the demo desktop, and round trips and element references for a window
// holding a table of 100,000 rows.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "platform/fake/fake_desktop.h"
#include "platform/program.h"
#include "scene-census/capture/capture_run.h"

namespace tessary {
namespace {

size_t countElements(const nlohmann::json& elements) {
  size_t count = 0;
  for (const nlohmann::json& element : elements) {
    ++count;
    if (auto children = element.find("children"); children != element.end())
      count += countElements(*children);
  }
  return count;
}

// Runs the capture and reports its counters.
void captureAndCount(benchmark::State& state, fake::FakeDesktop& desktop,
                     const Environment& environment) {
  desktop.setRecording(false);
  size_t elements = 0;
  for (auto _ : state) {
    desktop.clearCalls();
    std::ostringstream out, err;
    ProgramContext context{{}, environment, out, err, desktop.platform()};
    if (runSceneCensus(context) != 0) {
      state.SkipWithError("the capture failed");
      return;
    }
    elements = countElements(nlohmann::json::parse(out.str())["elements"]);
  }
  const double n = static_cast<double>(elements);
  state.counters["elements"] = n;
  state.counters["roundTrips"] = static_cast<double>(desktop.accessibilityRoundTrips());
  state.counters["roundTripsPerElement"] =
      static_cast<double>(desktop.accessibilityRoundTrips()) / n;
  state.counters["elementReferences"] = static_cast<double>(desktop.elementReferencesTransferred());
}

void BM_DemoDesktopCapture(benchmark::State& state) {
  auto loaded = fake::FakeDesktop::fromSceneFile(TESSARY_DEMO_DESKTOP);
  if (auto* problem = std::get_if<std::string>(&loaded)) {
    state.SkipWithError(problem->c_str());
    return;
  }
  auto& desktop = *std::get<std::unique_ptr<fake::FakeDesktop>>(loaded);
  captureAndCount(state, desktop, Environment{{"TESSARY_OVERLAY_EXCLUDED_PID", "900"}});
}
BENCHMARK(BM_DemoDesktopCapture)->Unit(benchmark::kMillisecond);

// A window with a table of `rows` rows of 20 points, 40 of them on screen.
std::string longTableScene(int rows) {
  std::string scene = R"({"mainScreen": [0, 0, 1000, 800], "applications": [{"pid": 7,
    "name": "Ledger", "element": {"windows": [{"id": "window", "role": "AXWindow",
    "title": "Ledger", "frame": [0, 0, 1000, 800], "children": [{"role": "AXScrollArea",
    "frame": [0, 0, 1000, 800], "children": [{"role": "AXTable", "frame": [0, 0, 1000, 800],
    "rows": [)";
  for (int r = 0; r < rows; ++r) {
    if (r) scene += ",";
    scene += R"({"role": "AXRow", "frame": [0, )" + std::to_string(r * 20) + R"(, 1000, 20]})";
  }
  return scene + R"(]}]}]}]}}], "windowList": [{"owner": "Ledger", "pid": 7, "name": "Ledger",
    "bounds": [0, 0, 1000, 800]}]})";
}

void BM_LongTableCapture(benchmark::State& state) {
  auto desktop = fake::loadSceneOrThrow(longTableScene(static_cast<int>(state.range(0))));
  captureAndCount(state, *desktop, Environment{});
}
BENCHMARK(BM_LongTableCapture)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tessary

BENCHMARK_MAIN();
