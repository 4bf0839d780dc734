// One input-sentinel sample: the idle case (nothing changes, nothing is
// written) and a drag (a move line every sample). The input state answers
// from memory, so the figures are the sampling logic's own cost; the counter
// is the state queries per sample.
#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

#include "input-sentinel/input_sentinel.h"

namespace {

using namespace tessary;

class ScriptedInput : public InputState {
 public:
  uint64_t flagsState(int32_t) override { return ++queries, flags; }
  bool keyState(int32_t, uint16_t) override { return ++queries, false; }
  bool buttonState(int32_t, uint32_t) override { return ++queries, button; }
  std::optional<Point> pointerLocation() override { return ++queries, pointer; }
  uint32_t checkAccess(uint32_t) override { return 0; }
  void runRepeatingTimer(double, double, const std::function<void()>&) override {}

  uint64_t flags = 0;
  bool button = false;
  Point pointer{100.4, 200.6};
  uint64_t queries = 0;
};

// Counts bytes and keeps none, so the stream costs what a pipe write would
// cost the logic, minus the system call.
class CountingBuffer : public std::streambuf {
 public:
  uint64_t bytes = 0;

 protected:
  int_type overflow(int_type c) override { return ++bytes, c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return bytes += n, n; }
};

void BM_IdleSample(benchmark::State& state) {
  ScriptedInput input;
  CountingBuffer buffer;
  std::ostream out(&buffer);
  InputSentinel sentinel;
  for (auto _ : state)
    sentinel.sample(input, out);
  state.counters["queries/sample"] =
      static_cast<double>(input.queries) / static_cast<double>(state.iterations());
  state.counters["bytes"] = static_cast<double>(buffer.bytes);
}
BENCHMARK(BM_IdleSample);

void BM_DragSample(benchmark::State& state) {
  ScriptedInput input;
  input.button = true;
  CountingBuffer buffer;
  std::ostream out(&buffer);
  InputSentinel sentinel;
  for (auto _ : state) {
    input.pointer.x += 1;  // a new rounded position every sample
    sentinel.sample(input, out);
  }
  state.counters["queries/sample"] =
      static_cast<double>(input.queries) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DragSample);

}  // namespace

BENCHMARK_MAIN();
