// Time to render one subtitle event at 1080p (1920 x 1080 frame: text area 1728 x 216,
// canvas 2592 x 324, font size 49) over generated corpora.
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/SubtitleCorpus.h"
#include "text/TextRendererInterface.h"

namespace {

const char* const kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr std::int32_t kSize = 49;
constexpr std::uint32_t kMaxWidth = 1920 * 9 / 10;
constexpr std::uint32_t kMaxHeight = 1080 / 5;
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
  static std::vector<std::string> corpora[4];
  std::vector<std::string>& texts = corpora[static_cast<int>(kind)];
  if (texts.empty()) texts = QuillBench::generateCorpus(kind, kEvents);
  return texts;
}

bool render(Orb::TextRendererInterface& renderer, const std::string& text, Canvas& canvas) {
  std::uint32_t width, height, x, y, stride;
  return renderer.renderSubtitle(0, text.data(), text.size(), kMaxWidth, kMaxHeight, &width,
                                 &height, &x, &y, &stride, &Canvas::allocate, &canvas);
}

// Every event once before timing, so glyphs repeat as they do in a real file.
void warmEvents(benchmark::State& state) {
  const auto kind = static_cast<QuillBench::CorpusKind>(state.range(0));
  const std::vector<std::string>& texts = corpus(kind);
  auto renderer = Orb::createTextRendererFromFile(kFont, nullptr, kSize, 0, 0, 0, 0, 0,
                                                  0x00FFFFFF, 0, 0, nullptr, nullptr);
  if (!renderer) {
    state.SkipWithError("font missing");
    return;
  }
  Canvas canvas;
  for (const std::string& text : texts) render(*renderer, text, canvas);
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(render(*renderer, texts[next], canvas));
    next = (next + 1) % texts.size();
  }
  state.SetLabel(QuillBench::corpusName(kind));
}

BENCHMARK(warmEvents)->ArgName("corpus")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
