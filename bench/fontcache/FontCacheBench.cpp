// Refreshing the face cache from a folder of every installed TrueType/OpenType file, cold
// (no cache file) and warm (nothing changed), and looking faces up by family and style.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/fontcache/FontFolderFixture.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/FaceLookup.h"
#include "fontcache/FontCacheRefresh.h"

namespace {

using QuillBench::FontFolderFixture;

void ColdRefresh(benchmark::State& state) {
  FontFolderFixture& f = FontFolderFixture::shared();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(f.cacheFile());
    state.ResumeTiming();
    if (!f.refreshAsNewProcess()) state.SkipWithError("refresh failed");
  }
  state.counters["font_files"] = static_cast<double>(f.fileCount());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(f.fileCount()));
}
BENCHMARK(ColdRefresh)->Unit(benchmark::kMillisecond)->Iterations(3);

void WarmRefresh(benchmark::State& state) {
  FontFolderFixture& f = FontFolderFixture::shared();
  if (!f.refreshAsNewProcess()) state.SkipWithError("refresh failed");
  for (auto _ : state)
    if (!f.refreshAsNewProcess()) state.SkipWithError("refresh failed");
}
BENCHMARK(WarmRefresh)->Unit(benchmark::kMicrosecond);

void FindFace(benchmark::State& state) {
  FontFolderFixture& f = FontFolderFixture::shared();
  if (!f.refreshAsNewProcess()) state.SkipWithError("refresh failed");
  const std::vector<std::string> families = f.families();
  Orb::CacheDatabase cache;
  Orb::RefreshFontCache(cache, {f.entry()}, Orb::kFontCacheName);  // opens; refresh is done
  std::size_t next = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    const std::string& family = families[next++ % families.size()];
    char* path = nullptr;
    std::int64_t index = 0;
    // Bold italic is rare, so most lookups walk the style fallbacks.
    found += Orb::kFaceCacheCallbacks.findFace(family.c_str(), 1, 1, &cache, &path, &index) == 1;
    std::free(path);
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["families"] = static_cast<double>(families.size());
  state.counters["found_ratio"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(FindFace);

}  // namespace

BENCHMARK_MAIN();
