#include "tools/ImageWriter.h"

#include <cmath>
#include <cstdio>

#include "tools/FrameCompositor.h"

namespace QuillRender {
namespace {

bool isOpaque(const RgbaImage& image) {
  for (std::size_t alpha = 3; alpha < image.pixels.size(); alpha += 4) {
    if (image.pixels[alpha] != 255) return false;
  }
  return true;
}

std::string imageName(std::size_t index, const char* suffix) {
  char name[48];
  std::snprintf(name, sizeof name, "%04zu%s.png", index, suffix);
  return name;
}

}  // namespace

ImageWriter::ImageWriter(const RenderOptions& options, RgbaImage background)
    : options_(options),
      background_(std::move(background)),
      frameEncoding_(isOpaque(background_) ? kOpaqueFramePngEncoding : kSubtitlePngEncoding) {}

bool ImageWriter::write(const DeliveredImage& image, ManifestEvent& entry,
                        std::string& error) const {
  entry.rendered = true;
  entry.region = image.region;
  entry.placement = image.placement;
  entry.lines = image.lines;
  if (!image.drawn) {
    entry.reason = "nothing visible was drawn";
    return true;
  }
  if (options_.discard) return true;
  const std::string name = imageName(entry.event.index, "");
  if (!writePng(options_.outDir + "/" + name, image.pixels, error)) return false;
  entry.image = name;
  return !options_.frames || writeFrame(image, entry, error);
}

bool ImageWriter::writeFrame(const DeliveredImage& image, ManifestEvent& entry,
                             std::string& error) const {
  RgbaImage frame = background_;
  compositeOver(frame, image.pixels,
                static_cast<int>(std::lround(image.placement.left * options_.frameWidth)),
                static_cast<int>(std::lround(image.placement.top * options_.frameHeight)));
  const std::string name = imageName(entry.event.index, "-frame");
  if (!writePng(options_.outDir + "/" + name, frame, error, frameEncoding_)) return false;
  entry.frameImage = name;
  return true;
}

}  // namespace QuillRender
