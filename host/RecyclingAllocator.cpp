#include "host/RecyclingAllocator.h"

#include <algorithm>
#include <limits>
#include <new>

namespace Host {

class RecyclingAllocator::Buffer : public Orb::ImageBuffer {
 public:
  Buffer(RecyclingAllocator* owner, std::uint32_t width, std::uint32_t rows, std::size_t bytes)
      : owner_(owner), pixels_(bytes), width_(width), rows_(rows) {
    setData(pixels_.data(), static_cast<std::uint32_t>(bytes));
  }

  bool fits(std::uint32_t width, std::uint32_t rows) const { return width == width_ && rows == rows_; }

  void release() override {
    MediaBuffer::release();  // wait for any thread still holding it
    owner_->giveBack(this);
  }

 private:
  RecyclingAllocator* owner_;  // not owned; owns this
  std::vector<std::uint8_t> pixels_;
  std::uint32_t width_, rows_;
};

RecyclingAllocator::RecyclingAllocator() = default;
RecyclingAllocator::~RecyclingAllocator() = default;

bool RecyclingAllocator::setBitsPerPixel(std::int32_t bits) { return bits == 32; }

Orb::ImageBuffer* RecyclingAllocator::getBuffer(std::uint32_t width, std::uint32_t height,
                                                std::uint32_t planes) {
  constexpr std::uint64_t kMaxField = std::numeric_limits<std::int32_t>::max();
  constexpr std::uint64_t kMaxBlock = std::numeric_limits<std::uint32_t>::max();
  const std::uint64_t rows = std::uint64_t{height} * std::max<std::uint32_t>(planes, 1);
  const std::uint64_t bytes = std::uint64_t{width} * 4 * rows;
  if (width > kMaxField || height > kMaxField || bytes > kMaxBlock) return nullptr;
  std::lock_guard<std::mutex> guard(mutex_);
  const auto pooled = std::find_if(pooled_.rbegin(), pooled_.rend(), [&](const auto& candidate) {
    return candidate->fits(width, static_cast<std::uint32_t>(rows));
  });
  try {
    if (pooled != pooled_.rend()) {
      outstanding_.push_back(std::move(*pooled));
      pooled_.erase(std::next(pooled).base());
    } else {
      outstanding_.push_back(std::make_unique<Buffer>(
          this, width, static_cast<std::uint32_t>(rows), static_cast<std::size_t>(bytes)));
    }
  } catch (const std::bad_alloc&) {
    return nullptr;  // the host's answer to a block it cannot have
  }
  Buffer* buffer = outstanding_.back().get();
  buffer->length = 0;
  buffer->properties = Orb::ImageProperties();
  buffer->properties.width = static_cast<std::int32_t>(width);
  buffer->properties.height = static_cast<std::int32_t>(height);
  buffer->properties.stride = static_cast<std::int32_t>(width);
  return buffer;
}

void RecyclingAllocator::giveBack(Buffer* buffer) {
  std::unique_ptr<Buffer> dropped;  // freed after the lock is let go
  std::lock_guard<std::mutex> guard(mutex_);
  const auto found = std::find_if(outstanding_.begin(), outstanding_.end(),
                                  [buffer](const auto& held) { return held.get() == buffer; });
  if (found == outstanding_.end()) return;
  pooled_.push_back(std::move(*found));
  outstanding_.erase(found);
  if (pooled_.size() > kPooledBuffers) {
    dropped = std::move(pooled_.front());
    pooled_.erase(pooled_.begin());
  }
}

}  // namespace Host
