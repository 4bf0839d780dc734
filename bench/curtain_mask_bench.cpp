// The curtain's masks for every band of the default parameters on a
// 1728 x 1117-point screen at 2x (3456 pixels wide), against filling the same
// buffers with memset in the same run; the ratio of the two is what matters.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "frost-curtain/band_mask.h"

namespace tessary::curtain {
namespace {

constexpr double kScale = 2;
const Rect kScreen{0, 0, 1728, 1117};

struct Band {
  MaskShape shape;
  int64_t width, height;
};

std::vector<Band> defaultBands() {
  const PreviewParameters parameters = sanitize(PreviewParameters{});
  std::vector<Band> bands;
  for (const BlurLayerSpec& spec : bandSpecs(parameters)) {
    const Rect frame = targetFrame(kScreen, parameters.heightRatio, spec);
    bands.push_back({{spec, parameters.opacityExponent, parameters.curveExponent},
                     maskPixelExtent(frame.w, kScale),
                     maskPixelExtent(frame.h, kScale)});
  }
  return bands;
}

int64_t totalBytes(const std::vector<Band>& bands) {
  int64_t bytes = 0;
  for (const Band& band : bands)
    bytes += band.width * band.height * 4;
  return bytes;
}

void BM_DefaultCurtainMasks(benchmark::State& state) {
  const std::vector<Band> bands = defaultBands();
  for (auto _ : state) {
    for (const Band& band : bands) {
      MaskImage image = renderMask(band.shape, band.width, band.height);
      benchmark::DoNotOptimize(image.rgba.data());
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(state.iterations() * totalBytes(bands));
  state.counters["megabytes"] = static_cast<double>(totalBytes(bands)) / 1e6;
}
BENCHMARK(BM_DefaultCurtainMasks)->Unit(benchmark::kMillisecond);

// The same buffers, freshly allocated as the masks are, filled by memset.
void BM_MemsetSameBuffers(benchmark::State& state) {
  const std::vector<Band> bands = defaultBands();
  for (auto _ : state) {
    for (const Band& band : bands) {
      std::unique_ptr<uint8_t[]> bytes(
          new uint8_t[static_cast<size_t>(band.width * band.height * 4)]);
      std::memset(bytes.get(), 0xFF, static_cast<size_t>(band.width * band.height * 4));
      benchmark::DoNotOptimize(bytes.get());
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(state.iterations() * totalBytes(bands));
}
BENCHMARK(BM_MemsetSameBuffers)->Unit(benchmark::kMillisecond);

// The formula evaluated literally on every pixel, for scale.
void BM_DefaultCurtainMasksLiteral(benchmark::State& state) {
  const std::vector<Band> bands = defaultBands();
  for (auto _ : state) {
    for (const Band& band : bands) {
      std::vector<uint8_t> bytes(static_cast<size_t>(band.width * band.height * 4));
      for (int64_t r = 0; r < band.height; ++r) {
        for (int64_t c = 0; c < band.width; ++c)
          bytes[static_cast<size_t>((r * band.width + c) * 4 + 3)] =
              maskAlphaAt(band.shape, band.width, band.height, c, r);
      }
      benchmark::DoNotOptimize(bytes.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * totalBytes(bands));
}
BENCHMARK(BM_DefaultCurtainMasksLiteral)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tessary::curtain

BENCHMARK_MAIN();
