#pragma once
// Quill's face index timed over the shared font folder, one unit of work per iteration:
// the face cache bench and the comparison with fontconfig register these same loops.
#include <benchmark/benchmark.h>

namespace QuillBench {

/// A refresh of a new process with no cache file (removed outside the timing).
void timeColdRefresh(benchmark::State& state);
/// A refresh of a new process whose cache file already records the unchanged folder.
void timeWarmRefresh(benchmark::State& state);
/// One findFace per iteration: every family of the folder in turn, as bold italic, which
/// most families lack, so that the style fallbacks are walked.
void timeFindFace(benchmark::State& state);

}  // namespace QuillBench
