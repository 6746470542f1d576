#pragma once
// The one way benchmarks time the component: a rig delivering one corpus event per
// iteration, so that the component bench and the comparison with libass measure the
// same work.
#include <cstddef>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/SubtitleCorpus.h"
#include "bench/component/ComponentRig.h"

namespace QuillBench {

/// Events in each corpus the component benchmarks render.
constexpr std::size_t kComponentEvents = 2000;

/// The text samples of `kind` (kComponentEvents events of the fixed seed), made on first
/// use and kept until the process ends, so they outlive every rig that retains one.
const std::vector<std::unique_ptr<Host::SampleBuffer>>& corpusSamples(CorpusKind kind);

/// Times one event of `kind` per iteration through a rig made with `settings`, cycling
/// through the corpus. Warm: every event rendered once before timing. Cold: the rig's
/// caches emptied before each event, outside the timing. Reports an error when the rig
/// cannot start or an event delivers no image.
void timeComponentEvents(benchmark::State& state, CorpusKind kind, bool warm,
                         const RigSettings& settings = RigSettings());

}  // namespace QuillBench
