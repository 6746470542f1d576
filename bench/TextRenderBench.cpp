// Time to render one subtitle, without a glyph cache, at the text sizes of common frames.
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "text/TextRendererInterface.h"

namespace {

const char* const kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct Frame {
  std::uint32_t width;
  std::uint32_t height;
};
constexpr Frame kFrames[] = {{1280, 720}, {1920, 1080}, {3840, 2160}};

const std::string kSubtitles[] = {
    "I never said that.\nNot to you, anyway.",
    "<b>Wait</b>, <i>what</i> did you <u>just</u> say?\n"
    "<font color=\"#ffff00\">I said</font> <font size=\"+2\"><s>nothing</s></font>.",
    "This subtitle is long enough that it cannot fit on one line of the text area, so the pen "
    "walk has to wrap it, and then wrap it again before it reaches the end of what was said.",
};

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

// Arguments: subtitle index, frame index.
void renderSubtitle(benchmark::State& state) {
  const std::string& subtitle = kSubtitles[state.range(0)];
  const Frame frame = kFrames[state.range(1)];
  const auto size = static_cast<std::int32_t>(std::min(frame.height / 22, frame.width / 29));
  auto renderer = Orb::createTextRendererFromFile(kFont, nullptr, size, 0, 0, 0, 0, 0, 0x00FFFFFF,
                                                  0, 0, nullptr, nullptr);
  if (!renderer) {
    state.SkipWithError("font missing");
    return;
  }
  // The component's text area: 90 % of the frame width, 20 % of its height.
  const std::uint32_t maxWidth = frame.width * 9 / 10;
  const std::uint32_t maxHeight = frame.height / 5;
  Canvas canvas;
  std::uint32_t width, height, x, y, stride;
  for (auto _ : state) {
    const bool drawn = renderer->renderSubtitle(0, subtitle.data(), subtitle.size(), maxWidth,
                                                maxHeight, &width, &height, &x, &y, &stride,
                                                &Canvas::allocate, &canvas);
    benchmark::DoNotOptimize(drawn);
  }
  state.SetLabel(std::to_string(frame.height) + "p size " + std::to_string(size));
}

BENCHMARK(renderSubtitle)
    ->ArgNames({"subtitle", "frame"})
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
