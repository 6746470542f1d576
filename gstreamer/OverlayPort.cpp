#include "gstreamer/OverlayPort.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/FrameSizeAnswer.h"
#include "framework/ImageBuffer.h"
#include "framework/MessageCodes.h"

namespace QuillGst {
namespace {

// The region's drawn box (all but its last column and row, which the component never
// writes; clipped to the block) as an overlay rectangle at
// the placement, measured on a frame of `width` by `height`; null when there is nothing.
GstVideoOverlayRectangle* rectangleOf(Orb::ImageBuffer& image, int width, int height) {
  const Orb::ImageProperties& properties = image.properties;
  if (properties.placement.width() <= 0 || properties.placement.height() <= 0) return nullptr;
  const std::int64_t stride = properties.stride;
  if (stride <= 0) return nullptr;
  const std::int64_t rows = image.size / (stride * 4);
  const Orb::RectInt& region = properties.region;
  const std::int64_t left = std::max(0, region.left), top = std::max(0, region.top);
  const std::int64_t right = std::min<std::int64_t>(std::int64_t{region.right} - 1, stride - 1);
  const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{region.bottom} - 1, rows - 1);
  if (right < left || bottom < top) return nullptr;
  const auto columns = static_cast<guint>(right - left + 1);
  const auto lines = static_cast<guint>(bottom - top + 1);

  GstBuffer* pixels = gst_buffer_new_allocate(nullptr, gsize{columns} * lines * 4, nullptr);
  GstMapInfo map;
  gst_buffer_map(pixels, &map, GST_MAP_WRITE);
  const std::uint8_t* block = image.lockData();
  if (!block) {
    gst_buffer_unmap(pixels, &map);
    gst_buffer_unref(pixels);
    return nullptr;
  }
  for (guint line = 0; line < lines; ++line) {
    std::memcpy(map.data + gsize{line} * columns * 4,
                block + ((top + line) * stride + left) * 4, gsize{columns} * 4);
  }
  image.unlockData();
  gst_buffer_unmap(pixels, &map);
  gst_buffer_add_video_meta(pixels, GST_VIDEO_FRAME_FLAG_NONE,
                            GST_VIDEO_OVERLAY_COMPOSITION_FORMAT_RGB, columns, lines);
  const auto x = static_cast<gint>(std::lround(properties.placement.left * width));
  const auto y = static_cast<gint>(std::lround(properties.placement.top * height));
  GstVideoOverlayRectangle* rectangle = gst_video_overlay_rectangle_new_raw(
      pixels, x, y, columns, lines, GST_VIDEO_OVERLAY_FORMAT_FLAG_PREMULTIPLIED_ALPHA);
  gst_buffer_unref(pixels);
  return rectangle;
}

}  // namespace

OverlayPort::~OverlayPort() {
  if (latest_.composition) gst_video_overlay_composition_unref(latest_.composition);
}

void OverlayPort::setFrameSize(int width, int height) {
  std::lock_guard<std::mutex> guard(mutex_);
  frameWidth_ = width;
  frameHeight_ = height;
}

bool OverlayPort::query(std::uint32_t, const Orb::PropertyValue*) { return true; }

bool OverlayPort::control(std::uint32_t, const Orb::PropertyValue*) { return true; }

bool OverlayPort::getValue(std::uint32_t code, Orb::PropertyValue* value) {
  std::lock_guard<std::mutex> guard(mutex_);
  return Orb::answerFrameSizeQuery(code, frameWidth_, frameHeight_, value);
}

bool OverlayPort::deliver(std::uint32_t code, const Orb::PropertyValue* value) {
  if (code == Orb::MESSAGE_IMAGE_PROPERTIES) return true;
  if (code != Orb::MESSAGE_SAMPLE || !value || !value->payload.pointer) return false;
  auto* image = static_cast<Orb::ImageBuffer*>(value->payload.pointer);
  int width = 0, height = 0;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    width = frameWidth_;
    height = frameHeight_;
  }
  GstVideoOverlayRectangle* rectangle = rectangleOf(*image, width, height);
  const std::uint32_t subtitle = image->word2;
  image->release();
  GstVideoOverlayComposition* composition = nullptr;
  if (rectangle) {
    composition = gst_video_overlay_composition_new(rectangle);
    gst_video_overlay_rectangle_unref(rectangle);
  }
  std::lock_guard<std::mutex> guard(mutex_);
  if (latest_.composition) gst_video_overlay_composition_unref(latest_.composition);
  latest_ = TaggedOverlay{subtitle, latest_.serial + 1, composition};
  return true;
}

TaggedOverlay OverlayPort::newerThan(std::uint32_t subtitle, std::uint64_t serial) const {
  std::lock_guard<std::mutex> guard(mutex_);
  if (latest_.subtitle != subtitle || latest_.serial <= serial) return TaggedOverlay{};
  TaggedOverlay answer = latest_;
  if (answer.composition) gst_video_overlay_composition_ref(answer.composition);
  return answer;
}

}  // namespace QuillGst
