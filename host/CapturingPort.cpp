#include "host/CapturingPort.h"

#include <limits>

#include "framework/FrameSizeAnswer.h"
#include "framework/ImageBuffer.h"
#include "framework/MessageCodes.h"

namespace Host {

namespace {
constexpr std::uint64_t kRefuseAll = std::numeric_limits<std::uint64_t>::max();
}

const std::uint8_t* CapturingPort::Image::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= properties.stride) return nullptr;
  const std::uint64_t offset =
      (std::uint64_t(y) * std::uint64_t(properties.stride) + std::uint64_t(x)) * 4;
  if (offset + 4 > pixels.size()) return nullptr;
  return pixels.data() + offset;
}

bool CapturingPort::query(std::uint32_t, const Orb::PropertyValue*) { return true; }

bool CapturingPort::control(std::uint32_t code, const Orb::PropertyValue*) {
  std::lock_guard<std::mutex> guard(mutex_);
  messages_.push_back(code);
  if (code == Orb::CONTROL_FLUSH) ++flushes_;
  return true;
}

bool CapturingPort::getValue(std::uint32_t code, Orb::PropertyValue* value) {
  std::lock_guard<std::mutex> guard(mutex_);
  const bool configured = code == Orb::QUERY_MAX_WIDTH ? maxWidth_.has_value() : maxHeight_.has_value();
  return configured &&
         Orb::answerFrameSizeQuery(code, maxWidth_.value_or(0), maxHeight_.value_or(0), value);
}

bool CapturingPort::deliver(std::uint32_t code, const Orb::PropertyValue* value) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    messages_.push_back(code);
  }
  if (code == Orb::MESSAGE_SAMPLE) return takeImage(value);
  if (code != Orb::MESSAGE_IMAGE_PROPERTIES || !value || !value->payload.pointer) return false;
  const auto* properties = static_cast<const Orb::ImageProperties*>(value->payload.pointer);
  std::lock_guard<std::mutex> guard(mutex_);
  imageProperties_.push_back(*properties);
  return true;
}

bool CapturingPort::takeImage(const Orb::PropertyValue* value) {
  if (!value || !value->payload.pointer) return false;
  auto* buffer = static_cast<Orb::ImageBuffer*>(value->payload.pointer);
  bool refusing = false;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (refusalsLeft_ != 0) {
      if (refusalsLeft_ != kRefuseAll) --refusalsLeft_;
      ++refused_;
      refusing = true;
    }
  }
  if (refusing) {
    buffer->release();
    return false;
  }
  Image image;
  const std::uint8_t* bytes = buffer->lockData();
  image.properties = buffer->properties;
  image.descriptor = buffer->descriptor();
  if (bytes) image.pixels.assign(bytes, bytes + buffer->size);
  buffer->unlockData();
  buffer->release();
  {
    std::lock_guard<std::mutex> guard(mutex_);
    images_.push_back(std::move(image));
  }
  imageArrived_.notify_all();
  return true;
}

void CapturingPort::setMaxWidth(std::optional<std::int32_t> width) {
  std::lock_guard<std::mutex> guard(mutex_);
  maxWidth_ = width;
}

void CapturingPort::setMaxHeight(std::optional<std::int32_t> height) {
  std::lock_guard<std::mutex> guard(mutex_);
  maxHeight_ = height;
}

void CapturingPort::setRefusing(bool refusing) {
  std::lock_guard<std::mutex> guard(mutex_);
  refusalsLeft_ = refusing ? kRefuseAll : 0;
}

void CapturingPort::refuseNext(std::uint32_t count) {
  std::lock_guard<std::mutex> guard(mutex_);
  refusalsLeft_ = count;
}

std::vector<CapturingPort::Image> CapturingPort::images() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return images_;
}

std::vector<Orb::ImageProperties> CapturingPort::imageProperties() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return imageProperties_;
}

std::vector<std::uint32_t> CapturingPort::messages() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return messages_;
}

int CapturingPort::flushCount() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return flushes_;
}

int CapturingPort::refusedCount() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return refused_;
}

bool CapturingPort::waitForImages(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return imageArrived_.wait_for(lock, timeout, [&] { return images_.size() >= count; });
}

}  // namespace Host
