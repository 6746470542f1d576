// Writing quill-render's images: the subtitle PNGs of the ordinary corpus (the first 200
// events, rendered through the component at 1080p and turned to straight RGBA as the tool
// turns them) encoded one per iteration, with the tool's settings beside the ones it used
// before (libpng's simplified writer and its defaults), other zlib levels, strategies and
// row filters, and libspng. The "bytes" counter is the average file size; --frames
// previews (the subtitle over a 1920 x 1080 grey frame) are timed the same way.
// Timings move with the machine's load; quill_png_profile counts instructions instead.
#include <png.h>
#include <spng.h>
#include <zlib.h>

#include <cstdio>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/tools/PngImages.h"

namespace {

using QuillBench::encodeSimplified;
using QuillBench::encodeWithLibpng;
using QuillBench::encodeWithLibspng;
using QuillBench::frameImages;
using QuillBench::subtitleImages;

// Encodes every image in turn into a scratch file, one per iteration; `encode` answers
// false on failure.
template <typename Encode>
void timeEncoding(benchmark::State& state, const std::vector<QuillRender::RgbaImage>& images,
                  Encode encode) {
  std::FILE* scratch = std::tmpfile();
  if (!scratch || images.empty()) {
    state.SkipWithError("no scratch file or no images");
    if (scratch) std::fclose(scratch);
    return;
  }
  std::size_t index = 0, bytes = 0, written = 0;
  for (auto _ : state) {
    std::rewind(scratch);
    if (!encode(scratch, images[index])) {
      state.SkipWithError("encoding failed");
      break;
    }
    bytes += static_cast<std::size_t>(std::ftell(scratch));
    ++written;
    index = (index + 1) % images.size();
  }
  std::fclose(scratch);
  state.counters["bytes"] = written ? static_cast<double>(bytes) / static_cast<double>(written) : 0;
}

void subtitleBefore(benchmark::State& state) { timeEncoding(state, subtitleImages(), encodeSimplified); }

void subtitleChosen(benchmark::State& state) {
  timeEncoding(state, subtitleImages(), [](std::FILE* stream, const QuillRender::RgbaImage& image) {
    return encodeWithLibpng(stream, image, QuillRender::kSubtitlePngEncoding);
  });
}

// The encoding the arguments give: zlib level, strategy (Z_DEFAULT_STRATEGY 0, Z_FILTERED
// 1, Z_RLE 3), the PNG filter bits and, when there is a fourth, 1 for RGB without alpha.
QuillRender::PngEncoding encodingOf(const benchmark::State& state) {
  return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
          static_cast<int>(state.range(2)), state.range(3) != 0};
}

void subtitleLibpng(benchmark::State& state) {
  const QuillRender::PngEncoding encoding = encodingOf(state);
  timeEncoding(state, subtitleImages(), [&](std::FILE* stream, const QuillRender::RgbaImage& image) {
    return encodeWithLibpng(stream, image, encoding);
  });
}

// Arguments: zlib level, strategy and libspng's filter choice bits.
void subtitleLibspng(benchmark::State& state) {
  timeEncoding(state, subtitleImages(), [&](std::FILE* stream, const QuillRender::RgbaImage& image) {
    return encodeWithLibspng(stream, image, static_cast<int>(state.range(0)),
                             static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
  });
}

void frameBefore(benchmark::State& state) { timeEncoding(state, frameImages(), encodeSimplified); }

void frameLibpng(benchmark::State& state) {
  const QuillRender::PngEncoding encoding = encodingOf(state);
  timeEncoding(state, frameImages(), [&](std::FILE* stream, const QuillRender::RgbaImage& image) {
    return encodeWithLibpng(stream, image, encoding);
  });
}

void frameChosen(benchmark::State& state) {
  timeEncoding(state, frameImages(), [](std::FILE* stream, const QuillRender::RgbaImage& image) {
    return encodeWithLibpng(stream, image, QuillRender::kOpaqueFramePngEncoding);
  });
}

void frameLibspng(benchmark::State& state) {
  timeEncoding(state, frameImages(), [&](std::FILE* stream, const QuillRender::RgbaImage& image) {
    return encodeWithLibspng(stream, image, static_cast<int>(state.range(0)),
                             static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
  });
}

BENCHMARK(subtitleBefore)->Unit(benchmark::kMillisecond);
BENCHMARK(subtitleChosen)->Unit(benchmark::kMillisecond);
BENCHMARK(subtitleLibpng)
    ->ArgNames({"level", "strategy", "filters", "rgb"})
    ->Args({6, Z_DEFAULT_STRATEGY, PNG_ALL_FILTERS, 0})
    ->Args({1, Z_DEFAULT_STRATEGY, PNG_FILTER_NONE, 0})
    ->Args({2, Z_DEFAULT_STRATEGY, PNG_FILTER_NONE, 0})
    ->Args({4, Z_DEFAULT_STRATEGY, PNG_FILTER_NONE, 0})
    ->Args({4, Z_FILTERED, PNG_FILTER_NONE, 0})
    ->Args({6, Z_FILTERED, PNG_FILTER_NONE, 0})
    ->Args({4, Z_FILTERED, PNG_FILTER_UP, 0})
    ->Args({4, Z_FILTERED, PNG_ALL_FILTERS, 0})
    ->Args({1, Z_RLE, PNG_FILTER_UP, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(subtitleLibspng)
    ->ArgNames({"level", "strategy", "filters"})
    ->Args({3, Z_DEFAULT_STRATEGY, SPNG_FILTER_CHOICE_NONE})
    ->Args({1, Z_DEFAULT_STRATEGY, SPNG_FILTER_CHOICE_UP})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(frameBefore)->Unit(benchmark::kMillisecond);
BENCHMARK(frameChosen)->Unit(benchmark::kMillisecond);
BENCHMARK(frameLibpng)
    ->ArgNames({"level", "strategy", "filters", "rgb"})
    ->Args({3, Z_DEFAULT_STRATEGY, PNG_FILTER_NONE, 0})
    ->Args({3, Z_DEFAULT_STRATEGY, PNG_FILTER_NONE, 1})
    ->Args({4, Z_DEFAULT_STRATEGY, PNG_FILTER_NONE, 0})
    ->Args({4, Z_DEFAULT_STRATEGY, PNG_FILTER_UP, 1})
    ->Args({4, Z_FILTERED, PNG_FILTER_UP, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(frameLibspng)
    ->ArgNames({"level", "strategy", "filters"})
    ->Args({4, Z_FILTERED, SPNG_FILTER_CHOICE_UP})
    ->Args({3, Z_DEFAULT_STRATEGY, SPNG_FILTER_CHOICE_UP})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
