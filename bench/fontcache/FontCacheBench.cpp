// Refreshing the face cache from a folder of every installed TrueType/OpenType file, cold
// (no cache file) and warm (nothing changed), and looking faces up by family and style.
#include <benchmark/benchmark.h>

#include "bench/fontcache/FaceIndexTimings.h"

BENCHMARK(QuillBench::timeColdRefresh)->Name("ColdRefresh")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(QuillBench::timeWarmRefresh)->Name("WarmRefresh")->Unit(benchmark::kMicrosecond);
BENCHMARK(QuillBench::timeFindFace)->Name("FindFace");

BENCHMARK_MAIN();
