// Finding faces, Quill's face cache against fontconfig, over the same folder of fonts:
// a scan with no cache, a start with a valid cache and nothing changed, and lookups by
// family and style. fontconfig is given only that folder and a cache folder of its own,
// so neither side reads anything else.
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/fontcache/FaceIndexTimings.h"
#include "bench/fontcache/FontFolderFixture.h"
#include "tests/support/TempFolder.h"

namespace {

using QuillBench::FontFolderFixture;

// fontconfig over the fixture's folder, with its cache files in a folder of its own.
class FontconfigSide {
 public:
  FontconfigSide() {
    xml = "<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\"><fontconfig>"
          "<dir>" + FontFolderFixture::shared().folder().string() + "</dir>"
          "<cachedir>" + cacheFolder.path().string() + "</cachedir></fontconfig>";
  }

  /// A configuration as a new process builds it: parsed, then its fonts read from the
  /// cache files or, when there are none, by scanning the folder (writing them). Null
  /// when fontconfig refused.
  FcConfig* build() const {
    FcConfig* config = FcConfigCreate();
    if (!config) return nullptr;
    const auto* text = reinterpret_cast<const FcChar8*>(xml.c_str());
    if (!FcConfigParseAndLoadFromMemory(config, text, FcTrue) || !FcConfigBuildFonts(config)) {
      FcConfigDestroy(config);
      return nullptr;
    }
    return config;
  }

  void forgetCache() const {
    for (const auto& file : std::filesystem::directory_iterator(cacheFolder.path()))
      std::filesystem::remove_all(file.path());
  }

 private:
  TestSupport::TempFolder cacheFolder;
  std::string xml;
};

FontconfigSide& fontconfig() {
  static FontconfigSide side;
  return side;
}

// Both sides build their index from nothing: the cache file or files removed first.
BENCHMARK(QuillBench::timeColdRefresh)->Name("FaceIndex/cold-refresh/quill")->Unit(benchmark::kMillisecond);

void FontconfigColdScan(benchmark::State& state) {
  const FontconfigSide& side = fontconfig();
  for (auto _ : state) {
    state.PauseTiming();
    side.forgetCache();
    state.ResumeTiming();
    FcConfig* config = side.build();
    if (!config) state.SkipWithError("fontconfig refused the configuration");
    else FcConfigDestroy(config);
  }
}
BENCHMARK(FontconfigColdScan)->Name("FaceIndex/cold-refresh/fontconfig")->Unit(benchmark::kMillisecond);

// Both sides start from a valid cache, nothing changed on disk.
BENCHMARK(QuillBench::timeWarmRefresh)->Name("FaceIndex/warm-refresh/quill")->Unit(benchmark::kMicrosecond);

void FontconfigWarmStart(benchmark::State& state) {
  const FontconfigSide& side = fontconfig();
  if (FcConfig* first = side.build()) FcConfigDestroy(first);  // writes the cache
  for (auto _ : state) {
    FcConfig* config = side.build();
    if (!config) state.SkipWithError("fontconfig refused the configuration");
    else FcConfigDestroy(config);
  }
}
BENCHMARK(FontconfigWarmStart)->Name("FaceIndex/warm-refresh/fontconfig")->Unit(benchmark::kMicrosecond);

// The same requests on both sides: every family the folder holds, in turn, as bold
// italic, which most families lack, so that the fallbacks are walked.
BENCHMARK(QuillBench::timeFindFace)->Name("FaceIndex/find-face/quill");

void FontconfigMatch(benchmark::State& state) {
  const std::vector<std::string> families = FontFolderFixture::shared().families();
  FcConfig* config = fontconfig().build();
  if (!config) {
    state.SkipWithError("fontconfig refused the configuration");
    return;
  }
  std::size_t next = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    const std::string& family = families[next++ % families.size()];
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ITALIC);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* file = nullptr;
    int index = 0;
    found += match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
             FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch;
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  state.counters["found_ratio"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(FontconfigMatch)->Name("FaceIndex/find-face/fontconfig");

}  // namespace
