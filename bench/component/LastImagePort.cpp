#include "bench/component/LastImagePort.h"

#include "framework/MessageCodes.h"

namespace QuillBench {

LastImagePort::~LastImagePort() { clear(); }

bool LastImagePort::query(std::uint32_t, const Orb::PropertyValue*) { return true; }

bool LastImagePort::control(std::uint32_t, const Orb::PropertyValue*) { return true; }

bool LastImagePort::getValue(std::uint32_t, Orb::PropertyValue*) { return false; }

bool LastImagePort::deliver(std::uint32_t code, const Orb::PropertyValue* value) {
  if (!value || value->tag != Orb::ValuePointer || !value->payload.pointer) return false;
  if (code == Orb::MESSAGE_IMAGE_PROPERTIES) {
    const auto* told = static_cast<const Orb::ImageProperties*>(value->payload.pointer);
    std::lock_guard<std::mutex> guard(mutex_);
    frameWidth_ = told->width;
    frameHeight_ = told->height;
    return true;
  }
  if (code != Orb::MESSAGE_SAMPLE) return false;
  Orb::ImageBuffer* previous = nullptr;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    previous = last_;
    last_ = static_cast<Orb::ImageBuffer*>(value->payload.pointer);
    ++images_;
  }
  // Released outside the lock: release waits for any thread still holding the buffer.
  if (previous) previous->release();
  return true;
}

void LastImagePort::clear() {
  Orb::ImageBuffer* kept = nullptr;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    kept = last_;
    last_ = nullptr;
  }
  if (kept) kept->release();
}

std::uint64_t LastImagePort::imageCount() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return images_;
}

const Orb::ImageBuffer* LastImagePort::lastImage() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return last_;
}

std::int32_t LastImagePort::frameWidth() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return frameWidth_;
}

std::int32_t LastImagePort::frameHeight() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return frameHeight_;
}

}  // namespace QuillBench
