// Time to render one subtitle event through the whole component at 1080p: a text sample
// delivered on the input port, rendered, and the image delivered to the downstream port.
// Warm: every event rendered once before timing, as glyphs repeat in any real file.
// Cold: a fresh renderer (empty glyph cache, only the base face open) before each event,
// outside the timing. Buffers are recycled as a host's frame pool does; the
// "ZeroFilledBuffers" runs take a fresh zero-filled block from the test host's allocator
// for every image instead, which adds a fill of the whole canvas to each event.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/SubtitleCorpus.h"
#include "bench/component/ComponentRig.h"

namespace {

constexpr std::size_t kEvents = 2000;

const std::vector<std::unique_ptr<Host::SampleBuffer>>& samples(QuillBench::CorpusKind kind) {
  static std::vector<std::unique_ptr<Host::SampleBuffer>> corpora[4];
  auto& kept = corpora[static_cast<int>(kind)];
  if (kept.empty()) kept = QuillBench::textSamples(QuillBench::generateCorpus(kind, kEvents));
  return kept;
}

void renderEvents(benchmark::State& state, bool warm, bool zeroFilledBuffers = false) {
  const auto kind = static_cast<QuillBench::CorpusKind>(state.range(0));
  const auto& events = samples(kind);  // before the rig: the component retains one
  QuillBench::RigSettings settings;
  settings.zeroFilledBuffers = zeroFilledBuffers;
  QuillBench::ComponentRig rig(settings);
  if (!rig.ready()) {
    state.SkipWithError(rig.error().c_str());
    return;
  }
  if (warm) {
    for (const auto& event : events) rig.deliver(*event);
  }
  std::size_t next = 0;
  std::size_t refused = 0;
  for (auto _ : state) {
    if (!warm) {
      state.PauseTiming();
      rig.emptyCaches();
      state.ResumeTiming();
    }
    if (!rig.deliver(*events[next])) ++refused;
    next = (next + 1) % events.size();
  }
  if (refused > 0) state.SkipWithError("the component delivered no image for some events");
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
