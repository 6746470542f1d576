#include "bench/component/ComponentEvents.h"

namespace QuillBench {

const std::vector<std::unique_ptr<Host::SampleBuffer>>& corpusSamples(CorpusKind kind) {
  static std::vector<std::unique_ptr<Host::SampleBuffer>> corpora[kCorpusKinds];
  auto& kept = corpora[static_cast<int>(kind)];
  if (kept.empty()) kept = textSamples(generateCorpus(kind, kComponentEvents));
  return kept;
}

void timeComponentEvents(benchmark::State& state, CorpusKind kind, bool warm,
                         const RigSettings& settings) {
  const auto& events = corpusSamples(kind);  // before the rig: the component retains one
  ComponentRig rig(settings);
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
}

}  // namespace QuillBench
