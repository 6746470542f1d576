// Time to render one subtitle event at 1080p (1920 x 1080 frame: text area 1728 x 216,
// classic canvas 2592 x 324, font size 49) with either layout engine over generated corpora: warm (every event seen once
// before timing, as glyphs repeat in any real file), cold (caches emptied before each
// event) and uncached (caches off, what the renderer did before it had them). Cold must
// not be slower than uncached. The "unique" runs take events in which no character is
// ever seen twice, so the glyph cache only ever stores and never hits: its worst case,
// which must still not be slower than rendering without it.
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "bench/SubtitleCorpus.h"
#include "text/TextRenderer.h"
#include "text/Utf.h"

namespace {

// The lookup a component would answer from its face index: the four DejaVu Sans styles, so
// that b and i open faces of their own as they do for a user.
class DejaVuSansLookup final : public Orb::FaceLookup {
 public:
  bool findFace(const std::string&, bool bold, bool italic, Orb::FaceLocation& location) override {
    static const char* const kFiles[2][2] = {
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
         "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf"},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
         "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf"}};
    location.path = kFiles[bold ? 1 : 0][italic ? 1 : 0];
    location.faceIndex = 0;
    return true;
  }
};
DejaVuSansLookup lookup;
constexpr std::int32_t kSize = 49;
constexpr std::uint32_t kMaxWidth = 1920 * 9 / 10;
constexpr std::uint32_t kFrameHeight = 1080;
constexpr std::uint32_t kMaxHeight = kFrameHeight / 5;
constexpr std::size_t kEvents = 2000;

struct Canvas {
  std::vector<std::uint8_t> bytes;
  static bool allocate(std::uint32_t width, std::uint32_t height, std::uint32_t,
                       std::uint8_t** buffer, std::size_t* byteLength, std::uint32_t* stride,
                       void* data) {
    auto* self = static_cast<Canvas*>(data);
    self->bytes.resize(static_cast<std::size_t>(width) * height * 4);
    *buffer = self->bytes.data();
    *byteLength = self->bytes.size();
    *stride = width;
    return true;
  }
};

const std::vector<std::string>& corpus(QuillBench::CorpusKind kind) {
  static std::vector<std::string> corpora[QuillBench::kCorpusKinds];
  std::vector<std::string>& texts = corpora[static_cast<int>(kind)];
  if (texts.empty()) texts = QuillBench::generateCorpus(kind, kEvents);
  return texts;
}

// Every character DejaVu Sans maps, except controls and the markup characters, in events
// of the ordinary length.
std::vector<std::string> uniqueCharacterEvents() {
  constexpr std::size_t kCharactersPerEvent = 69;
  std::vector<char32_t> characters;
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0) return {};
  if (FT_New_Face(library, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0, &face) == 0) {
    FT_UInt glyph = 0;
    for (FT_ULong c = FT_Get_First_Char(face, &glyph); glyph != 0; c = FT_Get_Next_Char(face, c, &glyph)) {
      const bool control = c <= 0x20 || (c >= 0x7F && c <= 0xA0);
      if (!control && c != '<' && c != '>' && c != '&') characters.push_back(static_cast<char32_t>(c));
    }
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  std::vector<std::string> events;
  for (std::size_t first = 0; first + kCharactersPerEvent <= characters.size(); first += kCharactersPerEvent) {
    std::string event;
    if (Orb::encodeUtf8(&characters[first], kCharactersPerEvent, event)) events.push_back(event);
  }
  return events;
}

// The full layout may use the whole frame height, as the component lets it.
bool render(Orb::TextRendererInterface& renderer, const std::string& text, Canvas& canvas,
            std::uint32_t maxHeight = kMaxHeight) {
  std::uint32_t width, height, x, y, stride;
  return renderer.renderSubtitle(0, text.data(), text.size(), kMaxWidth, maxHeight, &width,
                                 &height, &x, &y, &stride, &Canvas::allocate, &canvas);
}

enum class Caching { kWarm, kCold, kOff };

void renderEvents(benchmark::State& state, const std::vector<std::string>& texts, Caching caching,
                  Orb::LayoutEngine engine = Orb::LayoutEngine::Classic) {
  if (texts.empty()) {
    state.SkipWithError("no events");
    return;
  }
  auto renderer = Orb::TextRenderer::create(Orb::FontSource{nullptr, nullptr, 0, "DejaVu Sans"},
                                            Orb::BaseStyle{kSize, 0, 0, 0, 0, 0, 0x00FFFFFF, 0, 0},
                                            &lookup);
  if (!renderer) {
    state.SkipWithError("font missing");
    return;
  }
  renderer->setLayout(engine, Orb::kBottomCentre);
  const std::uint32_t maxHeight = engine == Orb::LayoutEngine::Full ? kFrameHeight : kMaxHeight;
  Canvas canvas;
  if (caching == Caching::kOff) renderer->setCaching(0, false);
  if (caching == Caching::kWarm) {
    for (const std::string& text : texts) render(*renderer, text, canvas, maxHeight);
  }
  const Orb::GlyphCacheCounters before = renderer->glyphCacheCounters();
  std::size_t next = 0;
  for (auto _ : state) {
    if (caching == Caching::kCold) {
      state.PauseTiming();
      renderer->setCaching(Orb::GlyphCache::kDefaultBudget, true);
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(render(*renderer, texts[next], canvas, maxHeight));
    next = (next + 1) % texts.size();
  }
  const Orb::GlyphCacheCounters& after = renderer->glyphCacheCounters();
  const double hits = static_cast<double>(after.hits - before.hits);
  const double looks = hits + static_cast<double>(after.misses - before.misses);
  state.counters["hit%"] = looks > 0 ? 100.0 * hits / looks : 0.0;
  state.counters["cacheKiB"] = static_cast<double>(after.bytes) / 1024.0;
}

void renderCorpus(benchmark::State& state, Caching caching) {
  const auto kind = static_cast<QuillBench::CorpusKind>(state.range(0));
  const bool full = state.range(1) != 0;
  renderEvents(state, corpus(kind), caching,
               full ? Orb::LayoutEngine::Full : Orb::LayoutEngine::Classic);
  state.SetLabel(std::string(QuillBench::corpusName(kind)) + (full ? ", full" : ", classic"));
}

// Every corpus with each layout engine (full 0: classic, 1: full).
void everyCorpusAndEngine(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"corpus", "full"});
  for (int kind = 0; kind < QuillBench::kCorpusKinds; ++kind) {
    for (int full = 0; full < 2; ++full) bench->Args({kind, full});
  }
  bench->Unit(benchmark::kMillisecond);
}

void warmEvents(benchmark::State& state) { renderCorpus(state, Caching::kWarm); }
void coldEvents(benchmark::State& state) { renderCorpus(state, Caching::kCold); }
void uncachedEvents(benchmark::State& state) { renderCorpus(state, Caching::kOff); }

// The cache emptied before each event as in coldEvents; the events share no character.
void uniqueCold(benchmark::State& state) {
  static const std::vector<std::string> events = uniqueCharacterEvents();
  renderEvents(state, events, Caching::kCold);
}
void uniqueUncached(benchmark::State& state) {
  static const std::vector<std::string> events = uniqueCharacterEvents();
  renderEvents(state, events, Caching::kOff);
}

BENCHMARK(warmEvents)->Apply(everyCorpusAndEngine);
BENCHMARK(coldEvents)->Apply(everyCorpusAndEngine);
BENCHMARK(uncachedEvents)->Apply(everyCorpusAndEngine);
BENCHMARK(uniqueCold)->Unit(benchmark::kMillisecond);
BENCHMARK(uniqueUncached)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
