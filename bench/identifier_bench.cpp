// Cost of the stable element identifier, computed once per captured element
// and once per probed candidate.
#include <benchmark/benchmark.h>

#include "common/stable_identifier.h"

namespace tessary {
namespace {

void BM_IdentifierNativeId(benchmark::State& state) {
  const std::optional<std::string> native = std::string("email");
  for (auto _ : state) {
    benchmark::DoNotOptimize(stableElementIdentifier("AXTextField", native, std::nullopt,
                                                     std::nullopt, std::nullopt, std::nullopt,
                                                     std::nullopt, std::nullopt));
  }
}
BENCHMARK(BM_IdentifierNativeId);

void BM_IdentifierAsciiTextsAndBox(benchmark::State& state) {
  const std::optional<Box> box = Box{130, 70, 200, 100};
  const std::optional<std::string> name = std::string("  Save   File ");
  const std::optional<std::string> roleDescription = std::string("button");
  for (auto _ : state) {
    benchmark::DoNotOptimize(stableElementIdentifier("AXButton", std::nullopt, box, std::nullopt,
                                                     std::nullopt, name, std::nullopt,
                                                     roleDescription));
  }
}
BENCHMARK(BM_IdentifierAsciiTextsAndBox);

void BM_IdentifierNonAsciiTexts(benchmark::State& state) {
  const std::optional<Point> position = Point{130.7, 70.2};
  const std::optional<Size> size = Size{63.9, 30.0};
  const std::optional<std::string> name = std::string("Größe ÄNDERN\u00a0– Übersicht");
  const std::optional<std::string> description = std::string("Schaltfläche für die Größe");
  for (auto _ : state) {
    benchmark::DoNotOptimize(stableElementIdentifier(
        "AXButton", std::nullopt, std::nullopt, position, size, name, description, std::nullopt));
  }
}
BENCHMARK(BM_IdentifierNonAsciiTexts);

void BM_IdentifierLongStaticText(benchmark::State& state) {
  std::string paragraph;
  for (int i = 0; i < 20; ++i)
    paragraph += "The quick brown fox jumps over the lazy dog. ";
  const std::optional<std::string> value = paragraph;
  const std::optional<Box> box = Box{-100, 400, 900, 460};
  for (auto _ : state) {
    benchmark::DoNotOptimize(stableElementIdentifier("AXStaticText", std::nullopt, box,
                                                     std::nullopt, std::nullopt, value,
                                                     std::nullopt, std::nullopt));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(paragraph.size()));
}
BENCHMARK(BM_IdentifierLongStaticText);

}  // namespace
}  // namespace tessary

BENCHMARK_MAIN();
