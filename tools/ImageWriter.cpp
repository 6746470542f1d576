#include "tools/ImageWriter.h"

#include <algorithm>
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
  // Where the image lies on the frame, as the previews and BDN.xml place it.
  const int x = static_cast<int>(std::lround(image.placement.left * options_.frameWidth));
  const int y = static_cast<int>(std::lround(image.placement.top * options_.frameHeight));
  int left = x, top = y;
  RgbaImage inFrame;
  const RgbaImage* pixels = &image.pixels;
  if (options_.bdnXml) {
    inFrame = image.pixels;
    if (!cutToFrame(inFrame, left, top, options_.frameWidth, options_.frameHeight)) {
      entry.reason = "nothing of it lies in the frame";
      return true;
    }
    if (inFrame.width != image.pixels.width || inFrame.height != image.pixels.height) {
      entry.reason = "cut to the frame, as BDN.xml needs";
    }
    pixels = &inFrame;
  }
  const std::string name = imageName(entry.event.index, "");
  if (!writePng(options_.outDir + "/" + name, *pixels, error)) return false;
  entry.image = name;
  entry.onFrame = {left, top, left + pixels->width, top + pixels->height};
  return !options_.frames || writeFrame(image, x, y, entry, error);
}

bool ImageWriter::writeFrame(const DeliveredImage& image, int x, int y, ManifestEvent& entry,
                             std::string& error) const {
  RgbaImage frame = background_;
  compositeOver(frame, image.pixels, x, y);
  const std::string name = imageName(entry.event.index, "-frame");
  if (!writePng(options_.outDir + "/" + name, frame, error, frameEncoding_)) return false;
  entry.frameImage = name;
  return true;
}

}  // namespace QuillRender
