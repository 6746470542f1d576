#include "tools/ImageSink.h"

#include <cstdint>

#include "framework/FrameSizeAnswer.h"
#include "framework/ImageBuffer.h"
#include "framework/MessageCodes.h"
#include "framework/SubtitleLines.h"

namespace QuillRender {
namespace {

// The drawn pixels of a region running from `first` to `last`, both included: all but the
// last, which the component never writes. 0 for a reversed or absurd pair.
int drawnSpan(int first, int last) {
  const long long width = static_cast<long long>(last) - first;
  return width > 0 && width <= INT32_MAX ? static_cast<int>(width) : 0;
}

}  // namespace

ImageSink::ImageSink(PixelFormat format, std::int32_t frameWidth, std::int32_t frameHeight,
                     bool keepPixels)
    : format_(format), frameWidth_(frameWidth), frameHeight_(frameHeight), keepPixels_(keepPixels) {}

bool ImageSink::query(std::uint32_t, const Orb::PropertyValue*) { return true; }

bool ImageSink::control(std::uint32_t, const Orb::PropertyValue*) { return true; }

bool ImageSink::getValue(std::uint32_t code, Orb::PropertyValue* value) {
  return Orb::answerFrameSizeQuery(code, frameWidth_, frameHeight_, value);
}

bool ImageSink::deliver(std::uint32_t code, const Orb::PropertyValue* value) {
  if (code == Orb::MESSAGE_IMAGE_PROPERTIES) return true;
  if (code == Orb::MESSAGE_SUBTITLE_LINES) {
    if (!value || !value->payload.pointer) return false;
    const auto* told = static_cast<const Orb::SubtitleLines*>(value->payload.pointer);
    std::vector<ManifestLine> lines;
    for (std::uint32_t i = 0; i < told->count && told->lines; ++i) {
      const Orb::SubtitleLine& line = told->lines[i];
      lines.push_back({line.text ? line.text : "", {line.left, line.top, line.right, line.bottom}});
    }
    std::lock_guard<std::mutex> guard(mutex_);
    lines_ = std::move(lines);
    return true;
  }
  if (code != Orb::MESSAGE_SAMPLE || !value || !value->payload.pointer) return false;
  auto* buffer = static_cast<Orb::ImageBuffer*>(value->payload.pointer);
  const Orb::ImageProperties& properties = buffer->properties;
  DeliveredImage image;
  image.region = {properties.region.left, properties.region.top, properties.region.right,
                  properties.region.bottom};
  image.placement = {properties.placement.left, properties.placement.top,
                     properties.placement.right, properties.placement.bottom};
  // A placement of no size says nothing was drawn.
  const PixelRegion drawn{properties.region.left, properties.region.top,
                          drawnSpan(properties.region.left, properties.region.right),
                          drawnSpan(properties.region.top, properties.region.bottom)};
  const std::uint8_t* bytes = buffer->lockData();
  image.drawn = bytes && properties.placement.width() > 0 && properties.placement.height() > 0 &&
                clipToBlock(buffer->size, properties.stride, drawn).width > 0;
  if (image.drawn && keepPixels_) {
    image.pixels = toStraightRgba(bytes, buffer->size, properties.stride, format_, drawn);
  }
  buffer->unlockData();
  buffer->release();
  std::lock_guard<std::mutex> guard(mutex_);
  image.lines = std::move(lines_);
  lines_.clear();
  latest_ = std::move(image);
  return true;
}

std::optional<DeliveredImage> ImageSink::take() {
  std::lock_guard<std::mutex> guard(mutex_);
  std::optional<DeliveredImage> taken = std::move(latest_);
  latest_.reset();
  return taken;
}

}  // namespace QuillRender
