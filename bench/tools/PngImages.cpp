#include "bench/tools/PngImages.h"

#include <png.h>
#include <spng.h>

#include <cstring>

#include "bench/component/ComponentEvents.h"
#include "tools/FrameCompositor.h"
#include "tools/PixelFormat.h"

namespace QuillBench {
namespace {

constexpr std::size_t kImages = 200;
constexpr std::size_t kFrames = 20;

}  // namespace

const std::vector<QuillRender::RgbaImage>& subtitleImages() {
  static const std::vector<QuillRender::RgbaImage> images = [] {
    std::vector<QuillRender::RgbaImage> made;
    ComponentRig rig;
    const auto& samples = corpusSamples(CorpusKind::kOrdinary);
    for (std::size_t i = 0; rig.ready() && i < kImages; ++i) {
      if (!rig.deliver(*samples[i])) continue;
      auto* buffer = const_cast<Orb::ImageBuffer*>(rig.downstream().lastImage());
      const Orb::RectInt& region = buffer->properties.region;
      made.push_back(QuillRender::toStraightRgba(
          buffer->lockData(), buffer->size, buffer->properties.stride, QuillRender::PixelFormat::RGBA,
          {region.left, region.top, region.right - region.left, region.bottom - region.top}));
      buffer->unlockData();
    }
    return made;
  }();
  return images;
}

const std::vector<QuillRender::RgbaImage>& frameImages() {
  static const std::vector<QuillRender::RgbaImage> frames = [] {
    std::vector<QuillRender::RgbaImage> made;
    for (std::size_t i = 0; i < kFrames && i < subtitleImages().size(); ++i) {
      QuillRender::RgbaImage frame = QuillRender::neutralBackground(1920, 1080);
      const QuillRender::RgbaImage& subtitle = subtitleImages()[i];
      QuillRender::compositeOver(frame, subtitle, (1920 - subtitle.width) / 2, 1026 - subtitle.height);
      made.push_back(std::move(frame));
    }
    return made;
  }();
  return frames;
}

bool encodeWithLibpng(std::FILE* stream, const QuillRender::RgbaImage& image,
                      const QuillRender::PngEncoding& encoding) {
  std::string error;
  return QuillRender::encodePng(stream, image, encoding, error);
}

bool encodeSimplified(std::FILE* stream, const QuillRender::RgbaImage& image) {
  png_image header;
  std::memset(&header, 0, sizeof header);
  header.version = PNG_IMAGE_VERSION;
  header.width = static_cast<png_uint_32>(image.width);
  header.height = static_cast<png_uint_32>(image.height);
  header.format = PNG_FORMAT_RGBA;
  const bool ok = png_image_write_to_stdio(&header, stream, 0, image.pixels.data(), 0, nullptr) != 0;
  png_image_free(&header);
  return ok;
}

bool encodeWithLibspng(std::FILE* stream, const QuillRender::RgbaImage& image, int level,
                       int strategy, int filter) {
  spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
  if (!context) return false;
  spng_ihdr header{};
  header.width = static_cast<std::uint32_t>(image.width);
  header.height = static_cast<std::uint32_t>(image.height);
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  const bool ok = spng_set_png_file(context, stream) == 0 &&
                  spng_set_option(context, SPNG_IMG_COMPRESSION_LEVEL, level) == 0 &&
                  spng_set_option(context, SPNG_IMG_COMPRESSION_STRATEGY, strategy) == 0 &&
                  spng_set_option(context, SPNG_FILTER_CHOICE, filter) == 0 &&
                  spng_set_ihdr(context, &header) == 0 &&
                  spng_encode_image(context, image.pixels.data(), image.pixels.size(), SPNG_FMT_PNG,
                                    SPNG_ENCODE_FINALIZE) == 0;
  spng_ctx_free(context);
  return ok;
}

}  // namespace QuillBench
