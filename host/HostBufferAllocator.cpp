#include "host/HostBufferAllocator.h"

#include <algorithm>
#include <limits>
#include <new>

namespace Host {

// An image buffer owning its pixels; release() hands it back to the allocator that made it.
class HostBufferAllocator::Buffer : public Orb::ImageBuffer {
 public:
  Buffer(HostBufferAllocator* owner, std::size_t bytes) : owner_(owner), pixels_(bytes) {
    setData(pixels_.data(), static_cast<std::uint32_t>(bytes));
  }

  void release() override {
    MediaBuffer::release();  // wait for any thread still holding it
    owner_->reclaim(this);   // deletes this
  }

 private:
  HostBufferAllocator* owner_;  // not owned; owns this
  std::vector<std::uint8_t> pixels_;
};

HostBufferAllocator::HostBufferAllocator() = default;
HostBufferAllocator::~HostBufferAllocator() = default;

bool HostBufferAllocator::setBitsPerPixel(std::int32_t bits) {
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  std::lock_guard<std::mutex> guard(mutex_);
  bitsPerPixel_ = bits;
  return true;
}

Orb::ImageBuffer* HostBufferAllocator::getBuffer(std::uint32_t width, std::uint32_t height,
                                                 std::uint32_t planes) {
  std::lock_guard<std::mutex> guard(mutex_);
  requests_.push_back(Request{width, height, planes});
  if (requests_.size() > kRecordedRequests) requests_.pop_front();
  if (refusing_) return nullptr;
  constexpr std::uint64_t kMaxField = std::numeric_limits<std::int32_t>::max();
  constexpr std::uint64_t kMaxBlock = std::numeric_limits<std::uint32_t>::max();
  const std::uint64_t stride = std::uint64_t{width} + stridePadding_;
  if (width > kMaxField || height > kMaxField || stride > kMaxField) return nullptr;
  const std::uint64_t rows = std::uint64_t{height} * std::max<std::uint32_t>(planes, 1);
  const std::uint64_t rowBytes = stride * static_cast<std::uint64_t>(bitsPerPixel_ / 8);
  if (rowBytes != 0 && rows > kMaxBlock / rowBytes) return nullptr;  // block length is 32-bit
  std::unique_ptr<Buffer> buffer;
  try {
    buffer.reset(new Buffer(this, rows * rowBytes));
  } catch (const std::bad_alloc&) {
    return nullptr;  // the host's answer to a block it cannot have
  }
  buffer->properties.width = static_cast<std::int32_t>(width);
  buffer->properties.height = static_cast<std::int32_t>(height);
  buffer->properties.stride = static_cast<std::int32_t>(stride);
  outstanding_.push_back(std::move(buffer));
  return outstanding_.back().get();
}

void HostBufferAllocator::setStridePadding(std::uint32_t pixels) {
  std::lock_guard<std::mutex> guard(mutex_);
  stridePadding_ = pixels;
}

void HostBufferAllocator::setRefusing(bool refusing) {
  std::lock_guard<std::mutex> guard(mutex_);
  refusing_ = refusing;
}

std::int32_t HostBufferAllocator::bitsPerPixel() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return bitsPerPixel_;
}

std::vector<HostBufferAllocator::Request> HostBufferAllocator::requests() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return {requests_.begin(), requests_.end()};
}

std::size_t HostBufferAllocator::outstandingBuffers() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return outstanding_.size();
}

void HostBufferAllocator::reclaim(const Buffer* buffer) {
  std::unique_ptr<Buffer> freed;  // destroyed after the lock is dropped
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = std::find_if(outstanding_.begin(), outstanding_.end(),
                            [buffer](const std::unique_ptr<Buffer>& held) { return held.get() == buffer; });
  if (found == outstanding_.end()) return;
  freed = std::move(*found);
  outstanding_.erase(found);
}

}  // namespace Host
