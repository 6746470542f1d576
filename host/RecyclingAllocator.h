#pragma once
// An output-buffer allocator that keeps the buffers given back and hands them out again
// as they are, as a host's frame pool does: the component clears every buffer it renders
// into before it reads any of it, so a fill here would be paid twice. A buffer made new
// is zero-filled (never another process's memory); a recycled one holds what the
// component last drew into it, pixels of an earlier event of the same host, which the
// component never reads. HostBufferAllocator, made for tests, zero-fills a fresh block
// each time instead.
//
// The pool keeps a few buffers (kPooledBuffers), so that images of changing sizes never
// make it grow without end; when one more is given back the smallest goes, since a larger
// block serves every image a smaller one would.
//
// Ownership: the allocator owns every buffer, handed out or pooled, and frees them all
// when destroyed, so buffers must not outlive it. Release each buffer at most once.
// Threads: a component's worker thread may call it while the owner does; thread-safe.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/BufferAllocator.h"

namespace Host {

class RecyclingAllocator : public Orb::BufferAllocator {
 public:
  /// Buffers kept for reuse at most; beyond it the smallest (the oldest given back among
  /// equals) goes.
  static constexpr std::size_t kPooledBuffers = 4;

  RecyclingAllocator();
  ~RecyclingAllocator() override;
  RecyclingAllocator(const RecyclingAllocator&) = delete;
  RecyclingAllocator& operator=(const RecyclingAllocator&) = delete;

  /// Accepts 32 only: the component asks for nothing else.
  bool setBitsPerPixel(std::int32_t bits) override;
  /// A buffer of `height * max(planes, 1)` rows of `width` pixels (stride = width): the
  /// smallest given-back block that holds them when there is one (its size stays that of
  /// its block, its bytes are whatever its last user left), else a new one of exactly that
  /// size. Images whose size changes from event to event so still find a block. Null when
  /// the block would not fit in 32 bits or cannot be had.
  Orb::ImageBuffer* getBuffer(std::uint32_t width, std::uint32_t height,
                              std::uint32_t planes) override;

 private:
  class Buffer;
  void giveBack(Buffer* buffer);

  std::mutex mutex_;
  std::vector<std::unique_ptr<Buffer>> outstanding_;  // handed out, not yet given back
  std::vector<std::unique_ptr<Buffer>> pooled_;       // given back, most recent last
};

}  // namespace Host
