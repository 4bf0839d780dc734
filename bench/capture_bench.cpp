// A capture of synthetic windows of 1,000 to 100,000 elements through the
// simulated desktop (recording off, no latency): building the element
// records, the markup, and the capture JSON as the run prints it.
// Counters: CPU time per element, accessibility round trips per element and
// the peak heap the capture itself needs.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <ostream>
#include <span>
#include <streambuf>
#include <string>

#include "common/json.h"
#include "platform/fake/fake_desktop.h"
#include "scene-census/element/ui_element.h"
#include "scene-census/serialize/capture_json.h"

// Live and peak heap bytes of the process, counted at every allocation.
namespace {
std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};

void* countedAllocation(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  size_t now = liveBytes.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
  size_t peak = peakBytes.load();
  while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void countedRelease(void* p) {
  if (!p) return;
  liveBytes.fetch_sub(malloc_usable_size(p));
  std::free(p);
}
}  // namespace

void* operator new(size_t size) {
  return countedAllocation(size);
}
void* operator new[](size_t size) {
  return countedAllocation(size);
}
void operator delete(void* p) noexcept {
  countedRelease(p);
}
void operator delete[](void* p) noexcept {
  countedRelease(p);
}
void operator delete(void* p, size_t) noexcept {
  countedRelease(p);
}
void operator delete[](void* p, size_t) noexcept {
  countedRelease(p);
}

namespace tessary {
namespace {

constexpr int kWindowSize = 2000;

// A window of `sections` groups, each of `rows` groups of `perRow` leaves:
// buttons, static texts, text fields and checkboxes, all on screen.
std::string syntheticScene(int sections, int rows, int perRow) {
  std::string scene = R"({"applications": [{"pid": 7, "name": "Synthetic", "element": {"windows": [
    {"id": "window", "role": "AXWindow", "title": "Synthetic", "frame": [0, 0, 2000, 2000], "children": [)";
  for (int s = 0; s < sections; ++s) {
    if (s) scene += ",";
    scene += R"({"role": "AXGroup", "description": "Section )" + std::to_string(s) +
             R"(", "frame": [0, 0, 2000, 2000], "children": [)";
    for (int r = 0; r < rows; ++r) {
      if (r) scene += ",";
      const int y = (s * rows + r) % 1990;
      scene += R"({"role": "AXGroup", "frame": [0, )" + std::to_string(y) +
               R"(, 2000, 10], "children": [)";
      for (int i = 0; i < perRow; ++i) {
        if (i) scene += ",";
        const std::string frame =
            R"("frame": [)" + std::to_string(i * 19 % 1990) + ", " + std::to_string(y) + ", 9, 9]";
        switch (i % 4) {
          case 0:
            scene += R"({"role": "AXButton", "title": "Button )" + std::to_string(i) +
                     R"(", "enabled": true, )" + frame + "}";
            break;
          case 1:
            scene += R"({"role": "AXStaticText", "value": "Row )" + std::to_string(r) +
                     R"( & item <)" + std::to_string(i) + R"(>", )" + frame + "}";
            break;
          case 2:
            scene += R"({"role": "AXTextField", "description": "Field", "value": "text", )" +
                     frame + "}";
            break;
          default:
            scene += R"({"role": "AXCheckBox", "title": "Check", "value": 1, )" + frame + "}";
        }
      }
      scene += "]}";
    }
    scene += "]}";
  }
  return scene + "]}]}}]}";
}

std::unique_ptr<fake::FakeDesktop> desktopFor(int64_t elements) {
  // 1,000 = 10 x 10 x 10, 10,000 = 10 x 10 x 100, 100,000 = 10 x 100 x 100.
  const int rows = elements >= 100000 ? 100 : 10;
  const int perRow = static_cast<int>(elements / 10 / rows);
  auto desktop = fake::loadSceneOrThrow(syntheticScene(10, rows, perRow));
  desktop->setRecording(false);
  return desktop;
}

size_t countRecords(const UIElement& element) {
  size_t count = 1;
  for (const auto& child : element.children())
    count += countRecords(*child);
  return count;
}

std::unique_ptr<UIElement> captureWindow(fake::FakeDesktop& desktop, AttributeReader& reader) {
  const Box screen{0, 0, kWindowSize, kWindowSize};
  return std::make_unique<UIElement>(reader, desktop.element("window"), 0, 0, 60, screen,
                                     std::vector<Box>{screen});
}

// Counts what is written and keeps nothing, like a pipe the host drains.
class CountingBuffer : public std::streambuf {
 public:
  size_t written = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize count) override {
    written += static_cast<size_t>(count);
    return count;
  }
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) ++written;
    return c;
  }
};

// What the capture run prints for one root: its markup, then the capture
// JSON written straight from the records.
size_t printCapture(const std::unique_ptr<UIElement>& root) {
  std::string markup;
  root->appendCompactText(0, markup);
  CountingBuffer buffer;
  std::ostream out(&buffer);
  writeCaptureJson(out, std::span<const std::unique_ptr<UIElement>>(&root, 1), markup);
  return buffer.written;
}

// The same output through the element maps and the pretty writer, as the run
// printed it before: for comparison.
size_t printCaptureViaMaps(const UIElement& root) {
  JsonArray elements;
  elements.emplace_back(root.toDict());
  JsonObject output;
  output.set("elements", std::move(elements));
  output.set("formatted_text", root.toCompactText(0));
  std::string text;
  writeJsonPretty(JsonValue(std::move(output)), text);
  return text.size();
}

double maxResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void BM_CaptureAndPrint(benchmark::State& state) {
  auto desktop = desktopFor(state.range(0));
  size_t records = 0, printed = 0;
  uint64_t roundTrips = 0;
  size_t capturePeak = 0, recordBytes = 0;
  for (auto _ : state) {
    desktop->clearCalls();
    const size_t base = liveBytes.load();
    peakBytes.store(base);
    AttributeReader reader(desktop->platform().accessibility);
    std::unique_ptr<UIElement> root = captureWindow(*desktop, reader);
    recordBytes = liveBytes.load() - base;
    printed = printCapture(root);
    capturePeak = std::max(capturePeak, peakBytes.load() - base);
    records = countRecords(*root);
    roundTrips = desktop->accessibilityRoundTrips();
    benchmark::DoNotOptimize(root);
  }
  const double n = static_cast<double>(records);
  state.counters["elements"] = n;
  state.counters["perElement"] = benchmark::Counter(
      n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["roundTripsPerElement"] = static_cast<double>(roundTrips) / n;
  state.counters["capturePeakMB"] = static_cast<double>(capturePeak) / (1024.0 * 1024.0);
  state.counters["recordBytesPerElement"] = static_cast<double>(recordBytes) / n;
  state.counters["printedBytesPerElement"] = static_cast<double>(printed) / n;
  state.counters["maxRssMB"] = maxResidentMegabytes();
}
BENCHMARK(BM_CaptureAndPrint)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// The same trees, the records built once: printing alone, straight from the
// records and, for comparison, through the element maps.
void BM_PrintOnly(benchmark::State& state) {
  auto desktop = desktopFor(state.range(0));
  AttributeReader reader(desktop->platform().accessibility);
  std::unique_ptr<UIElement> root = captureWindow(*desktop, reader);
  const double n = static_cast<double>(countRecords(*root));
  size_t peak = 0;
  for (auto _ : state) {
    const size_t base = liveBytes.load();
    peakBytes.store(base);
    benchmark::DoNotOptimize(printCapture(root));
    peak = std::max(peak, peakBytes.load() - base);
  }
  state.counters["perElement"] = benchmark::Counter(
      n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["printPeakMB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
}
BENCHMARK(BM_PrintOnly)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PrintViaMaps(benchmark::State& state) {
  auto desktop = desktopFor(state.range(0));
  AttributeReader reader(desktop->platform().accessibility);
  std::unique_ptr<UIElement> root = captureWindow(*desktop, reader);
  const double n = static_cast<double>(countRecords(*root));
  size_t peak = 0;
  for (auto _ : state) {
    const size_t base = liveBytes.load();
    peakBytes.store(base);
    benchmark::DoNotOptimize(printCaptureViaMaps(*root));
    peak = std::max(peak, peakBytes.load() - base);
  }
  state.counters["perElement"] = benchmark::Counter(
      n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["printPeakMB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
}
BENCHMARK(BM_PrintViaMaps)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MarkupOnly(benchmark::State& state) {
  auto desktop = desktopFor(state.range(0));
  AttributeReader reader(desktop->platform().accessibility);
  std::unique_ptr<UIElement> root = captureWindow(*desktop, reader);
  const double n = static_cast<double>(countRecords(*root));
  std::string out;
  for (auto _ : state) {
    out.clear();
    root->appendCompactText(0, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["perElement"] = benchmark::Counter(
      n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MarkupOnly)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessary

BENCHMARK_MAIN();
