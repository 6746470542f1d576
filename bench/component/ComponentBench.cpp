// Time to render one subtitle event through the whole component at 1080p: a text sample
// delivered on the input port, rendered with the classic or the full layout, and the image
// delivered to the downstream port.
// Warm: every event rendered once before timing, as glyphs repeat in any real file.
// Cold: a fresh renderer (empty glyph cache, only the base face open) before each event,
// outside the timing. Buffers are recycled as a host's frame pool does; the
// "ZeroFilledBuffers" runs take a fresh zero-filled block from the test host's allocator
// for every image instead, which adds a fill of the whole canvas to each event.
#include <string>

#include <benchmark/benchmark.h>

#include "bench/SubtitleCorpus.h"
#include "bench/component/ComponentEvents.h"

namespace {

void renderEvents(benchmark::State& state, bool warm, bool zeroFilledBuffers = false) {
  const auto kind = static_cast<QuillBench::CorpusKind>(state.range(0));
  QuillBench::RigSettings settings;
  settings.zeroFilledBuffers = zeroFilledBuffers;
  settings.layout = state.range(1) ? "full" : "classic";
  QuillBench::timeComponentEvents(state, kind, warm, settings);
  state.SetLabel(std::string(QuillBench::corpusName(kind)) + ", " + settings.layout);
}

// Every corpus with each layout engine (full 0: classic, 1: full).
void everyCorpusAndEngine(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"corpus", "full"});
  for (int corpus = 0; corpus < QuillBench::kCorpusKinds; ++corpus) {
    for (int full = 0; full < 2; ++full) bench->Args({corpus, full});
  }
  bench->Unit(benchmark::kMillisecond);
}

void componentWarm(benchmark::State& state) { renderEvents(state, true); }
void componentCold(benchmark::State& state) { renderEvents(state, false); }
void componentWarmZeroFilledBuffers(benchmark::State& state) { renderEvents(state, true, true); }

BENCHMARK(componentWarm)->Apply(everyCorpusAndEngine);
BENCHMARK(componentCold)->Apply(everyCorpusAndEngine);
BENCHMARK(componentWarmZeroFilledBuffers)->Apply(everyCorpusAndEngine);

}  // namespace

BENCHMARK_MAIN();
