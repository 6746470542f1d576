// Refreshing the face cache from a folder of every installed TrueType/OpenType file, cold
// (no cache file) and warm (nothing changed), and looking faces up by family and style.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "FontCacheTestSupport.h"
#include "SqliteFile.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/FaceLookup.h"
#include "fontcache/FontCacheRefresh.h"
#include "fontcache/FontFiles.h"

using namespace FontCacheTest;

namespace {

// One folder holding a copy of every installed font file, and a data folder for the cache.
struct FontFolder {
  DataFolderOverride data;
  TemporaryFolder fonts;
  std::size_t files = 0;

  FontFolder() {
    std::size_t index = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("/usr/share/fonts")) {
      if (!entry.is_regular_file()) continue;
      std::string extension = entry.path().extension().string();
      for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (extension != ".ttf" && extension != ".otf" && extension != ".ttc") continue;
      // Packages may ship the same name twice; keep both.
      copyFont(entry.path(), fonts.path(), std::to_string(index++) + "-" + entry.path().filename().string());
      ++files;
    }
  }

  bool refresh() {
    Orb::ForgetFontCacheRefreshForTesting();
    Orb::CacheDatabase cache;
    return Orb::RefreshFontCache(cache, {fonts.entry()}, Orb::kFontCacheName);
  }
};

FontFolder& folder() {
  static FontFolder shared;  // copied once, removed at exit
  return shared;
}

void ColdRefresh(benchmark::State& state) {
  FontFolder& f = folder();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(f.data.cacheFile());
    state.ResumeTiming();
    if (!f.refresh()) state.SkipWithError("refresh failed");
  }
  state.counters["font_files"] = static_cast<double>(f.files);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(f.files));
}
BENCHMARK(ColdRefresh)->Unit(benchmark::kMillisecond)->Iterations(3);

void WarmRefresh(benchmark::State& state) {
  FontFolder& f = folder();
  if (!f.refresh()) state.SkipWithError("refresh failed");
  for (auto _ : state)
    if (!f.refresh()) state.SkipWithError("refresh failed");
}
BENCHMARK(WarmRefresh)->Unit(benchmark::kMicrosecond);

void FindFace(benchmark::State& state) {
  FontFolder& f = folder();
  if (!f.refresh()) state.SkipWithError("refresh failed");
  std::vector<std::string> families;
  {
    SqliteFile file(f.data.cacheFile());
    for (const auto& row : file.rows("SELECT DISTINCT family FROM face_v2 WHERE family IS NOT NULL;"))
      families.push_back(row[0]);
  }
  Orb::CacheDatabase cache;
  Orb::RefreshFontCache(cache, {f.fonts.entry()}, Orb::kFontCacheName);  // opens; refresh is done
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
