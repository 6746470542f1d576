#pragma once
// A buffer allocator handing out image buffers of `width + stride padding` pixels per row.
// It owns every buffer it hands out: a buffer's release() gives it back (and frees it),
// and the allocator frees those never given back when it is destroyed, so buffers must
// not outlive it. Release each buffer at most once.
//
// It remembers the sizes asked for, so that a test can check them; only the latest
// kRecordedRequests, so that a host running for hours (the GStreamer element, a long
// film) does not grow with every image.
//
// Threads: a component's worker thread calls it while host threads configure and read
// it; every operation is thread-safe.
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/BufferAllocator.h"

namespace Host {

class HostBufferAllocator : public Orb::BufferAllocator {
 public:
  struct Request {
    std::uint32_t width, height, planes;
  };

  /// Requests remembered at most; beyond it the oldest is forgotten.
  static constexpr std::size_t kRecordedRequests = 1024;

  HostBufferAllocator();
  ~HostBufferAllocator() override;
  HostBufferAllocator(const HostBufferAllocator&) = delete;
  HostBufferAllocator& operator=(const HostBufferAllocator&) = delete;

  /// Accepts 8, 16, 24 or 32 (the default); anything else is refused and changes nothing.
  bool setBitsPerPixel(std::int32_t bits) override;

  /// A zero-filled buffer of `height * max(planes, 1)` rows of `width + padding` pixels,
  /// with properties width, height and stride set; null when told to refuse or when the
  /// block would not fit in 32 bits or cannot be had. Every call is recorded.
  Orb::ImageBuffer* getBuffer(std::uint32_t width, std::uint32_t height,
                              std::uint32_t planes) override;

  /// Extra pixels per row beyond the width asked for (0 by default).
  void setStridePadding(std::uint32_t pixels);
  /// While true, getBuffer answers null.
  void setRefusing(bool refusing);

  std::int32_t bitsPerPixel() const;
  /// The latest getBuffer calls (kRecordedRequests at most), oldest first.
  std::vector<Request> requests() const;
  /// Buffers handed out and not yet released.
  std::size_t outstandingBuffers() const;

 private:
  class Buffer;
  void reclaim(const Buffer* buffer);

  mutable std::mutex mutex_;
  std::int32_t bitsPerPixel_ = 32;
  std::uint32_t stridePadding_ = 0;
  bool refusing_ = false;
  std::deque<Request> requests_;
  std::vector<std::unique_ptr<Buffer>> outstanding_;
};

}  // namespace Host
