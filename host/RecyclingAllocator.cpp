#include "host/RecyclingAllocator.h"

#include <algorithm>
#include <limits>
#include <new>

namespace Host {

class RecyclingAllocator::Buffer : public Orb::ImageBuffer {
 public:
  Buffer(RecyclingAllocator* owner, std::size_t bytes) : owner_(owner), pixels_(bytes) {
    setData(pixels_.data(), static_cast<std::uint32_t>(bytes));
  }

  std::size_t bytes() const { return pixels_.size(); }

  void release() override {
    MediaBuffer::release();  // wait for any thread still holding it
    owner_->giveBack(this);
  }

 private:
  RecyclingAllocator* owner_;  // not owned; owns this
  std::vector<std::uint8_t> pixels_;
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
  // The smallest block that holds the image, the one given back last among equals.
  auto pooled = pooled_.rend();
  for (auto candidate = pooled_.rbegin(); candidate != pooled_.rend(); ++candidate) {
    const std::size_t held = (*candidate)->bytes();
    if (held >= bytes && (pooled == pooled_.rend() || held < (*pooled)->bytes())) pooled = candidate;
  }
  try {
    if (pooled != pooled_.rend()) {
      outstanding_.push_back(std::move(*pooled));
      pooled_.erase(std::next(pooled).base());
    } else {
      outstanding_.push_back(std::make_unique<Buffer>(this, static_cast<std::size_t>(bytes)));
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
    // A larger block serves every image a smaller one would, so the smallest goes.
    const auto smallest = std::min_element(pooled_.begin(), pooled_.end(), [](const auto& a, const auto& b) {
      return a->bytes() < b->bytes();
    });
    dropped = std::move(*smallest);
    pooled_.erase(smallest);
  }
}

}  // namespace Host
