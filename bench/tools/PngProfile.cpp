// A driver for callgrind, which counts the instructions of encoding where the PNG
// benchmark's timings move with the machine's load:
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*measuredEncoding*'
//     quill_png_profile before|chosen|frames-before|frames-chosen
// Only measuredEncoding is counted: every image of the set encoded once into a scratch
// file ("before": libpng's simplified writer with its defaults, as the tool wrote; "chosen":
// the tool's settings for subtitles, or for opaque frames). Divide by the images it prints;
// it also prints their average file size, over the whole set.
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/tools/PngImages.h"

namespace {

using Encoder = bool (*)(std::FILE*, const QuillRender::RgbaImage&);

bool encodeChosen(std::FILE* stream, const QuillRender::RgbaImage& image) {
  return QuillBench::encodeWithLibpng(stream, image, QuillRender::kSubtitlePngEncoding);
}

bool encodeChosenFrame(std::FILE* stream, const QuillRender::RgbaImage& image) {
  return QuillBench::encodeWithLibpng(stream, image, QuillRender::kOpaqueFramePngEncoding);
}

__attribute__((noinline)) bool measuredEncoding(const std::vector<QuillRender::RgbaImage>& images,
                                                Encoder encode, std::FILE* scratch, long& bytes) {
  for (const QuillRender::RgbaImage& image : images) {
    std::rewind(scratch);
    if (!encode(scratch, image)) return false;
    bytes += std::ftell(scratch);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const char* set = argc == 2 ? argv[1] : "";
  const bool frames = std::strncmp(set, "frames-", 7) == 0;
  const char* encoder = frames ? set + 7 : set;
  const Encoder encode = std::strcmp(encoder, "before") == 0   ? QuillBench::encodeSimplified
                         : std::strcmp(encoder, "chosen") != 0 ? nullptr
                         : frames                              ? encodeChosenFrame
                                                                : encodeChosen;
  if (!encode) {
    std::fprintf(stderr, "usage: %s before|chosen|frames-before|frames-chosen\n", argv[0]);
    return 2;
  }
  const std::vector<QuillRender::RgbaImage>& images =
      frames ? QuillBench::frameImages() : QuillBench::subtitleImages();
  std::FILE* scratch = std::tmpfile();
  long bytes = 0;
  const bool ok = scratch && !images.empty() && measuredEncoding(images, encode, scratch, bytes);
  if (scratch) std::fclose(scratch);
  std::printf("%zu images %s, %.0f bytes each\n", images.size(), ok ? "encoded" : "NOT encoded",
              ok ? static_cast<double>(bytes) / static_cast<double>(images.size()) : 0.0);
  return ok ? 0 : 1;
}
