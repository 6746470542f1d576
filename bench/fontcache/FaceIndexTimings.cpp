#include "bench/fontcache/FaceIndexTimings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/fontcache/FontFolderFixture.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/FaceLookup.h"
#include "fontcache/FontCacheRefresh.h"

namespace QuillBench {

void timeColdRefresh(benchmark::State& state) {
  FontFolderFixture& fonts = FontFolderFixture::shared();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(fonts.cacheFile());
    state.ResumeTiming();
    if (!fonts.refreshAsNewProcess()) state.SkipWithError("refresh failed");
  }
  state.counters["font_files"] = static_cast<double>(fonts.fileCount());
}

void timeWarmRefresh(benchmark::State& state) {
  FontFolderFixture& fonts = FontFolderFixture::shared();
  if (!fonts.refreshAsNewProcess()) state.SkipWithError("refresh failed");
  for (auto _ : state)
    if (!fonts.refreshAsNewProcess()) state.SkipWithError("refresh failed");
}

void timeFindFace(benchmark::State& state) {
  FontFolderFixture& fonts = FontFolderFixture::shared();
  const std::vector<std::string> families = fonts.families();
  if (families.empty()) {
    state.SkipWithError("the folder records no family");
    return;
  }
  Orb::CacheDatabase cache;
  Orb::RefreshFontCache(cache, {fonts.entry()}, Orb::kFontCacheName);  // opens; refresh is done
  std::size_t next = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    const std::string& family = families[next++ % families.size()];
    char* path = nullptr;
    std::int64_t index = 0;
    found += Orb::kFaceCacheCallbacks.findFace(family.c_str(), 1, 1, &cache, &path, &index) == 1;
    std::free(path);
  }
  state.counters["families"] = static_cast<double>(families.size());
  state.counters["found_ratio"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}

}  // namespace QuillBench
