// Time to render one subtitle event through the whole component at 1080p: a text sample
// delivered on the input port, rendered, and the image delivered to the downstream port.
// Warm: every event rendered once before timing, as glyphs repeat in any real file.
// Cold: a fresh renderer (empty glyph cache, only the base face open) before each event,
// outside the timing. Buffers are recycled as a host's frame pool does; the
// "ZeroFilledBuffers" runs take a fresh zero-filled block from the test host's allocator
// for every image instead, which adds a fill of the whole canvas to each event.
#include <benchmark/benchmark.h>

#include "bench/SubtitleCorpus.h"
#include "bench/component/ComponentEvents.h"

namespace {

void renderEvents(benchmark::State& state, bool warm, bool zeroFilledBuffers = false) {
  const auto kind = static_cast<QuillBench::CorpusKind>(state.range(0));
  QuillBench::RigSettings settings;
  settings.zeroFilledBuffers = zeroFilledBuffers;
  QuillBench::timeComponentEvents(state, kind, warm, settings);
  state.SetLabel(QuillBench::corpusName(kind));
}

void componentWarm(benchmark::State& state) { renderEvents(state, true); }
void componentCold(benchmark::State& state) { renderEvents(state, false); }
void componentWarmZeroFilledBuffers(benchmark::State& state) { renderEvents(state, true, true); }

BENCHMARK(componentWarm)->ArgName("corpus")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(componentCold)->ArgName("corpus")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(componentWarmZeroFilledBuffers)
    ->ArgName("corpus")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
