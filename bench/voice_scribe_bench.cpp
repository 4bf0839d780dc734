// voice-scribe streaming audio into the simulated recognizer: throughput,
// and the heap it uses while doing so, for streams of 1 MB and 100 MB in
// full and in odd-sized reads. Flat memory means the peak does not grow with
// the length of the stream.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "platform/fake/fake_desktop.h"
#include "voice-scribe/voice_scribe.h"

namespace tessary {
namespace {

double heapBytesInUse() {
  return static_cast<double>(mallinfo2().uordblks);
}

// `total` bytes of made-up audio in reads of at most `readSize`, never held
// whole; notes the heap in use at every read.
class GeneratedAudio : public InputStream {
 public:
  GeneratedAudio(size_t total, size_t readSize) : left_(total), readSize_(readSize) {}
  long read(char* buffer, size_t capacity, int&) override {
    peakHeap_ = std::max(peakHeap_, heapBytesInUse());
    const size_t count = std::min({capacity, readSize_, left_});
    for (size_t i = 0; i < count; ++i)
      buffer[i] = static_cast<char>((sent_ + i) * 31);
    sent_ += count;
    left_ -= count;
    return static_cast<long>(count);
  }
  double peakHeap() const { return peakHeap_; }

 private:
  size_t left_;
  size_t readSize_;
  size_t sent_ = 0;
  double peakHeap_ = 0;
};

void BM_DictationStream(benchmark::State& state) {
  const size_t total = static_cast<size_t>(state.range(0)) << 20;
  const size_t readSize = static_cast<size_t>(state.range(1));
  double peakGrowth = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto desktop = fake::loadSceneOrThrow(
        R"({"speech": {"events": [{"afterBytes": 1000000, "text": "partial"}]}})");
    desktop->setRecording(false);
    std::ostringstream out, err;
    GeneratedAudio audio(total, readSize);
    ProgramContext context{{}, {}, out, err, desktop->platform(), &audio};
    const double before = heapBytesInUse();
    state.ResumeTiming();
    benchmark::DoNotOptimize(runVoiceScribe(context));
    state.PauseTiming();
    peakGrowth = std::max(peakGrowth, audio.peakHeap() - before);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
  // Includes the simulator's first megabyte of recorded audio.
  state.counters["peakHeapGrowthBytes"] = peakGrowth;
}

BENCHMARK(BM_DictationStream)
    ->Args({1, 65536})
    ->Args({100, 65536})
    ->Args({1, 4097})
    ->Args({100, 4097})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace tessary

BENCHMARK_MAIN();
