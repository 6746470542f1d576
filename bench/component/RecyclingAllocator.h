#pragma once
// An output-buffer allocator that keeps the buffers given back and hands them out again
// as they are, as a host's frame pool does: the component clears every buffer it renders
// into, so a fill here would be paid twice. Host::HostBufferAllocator, made for tests,
// zero-fills a fresh block each time instead; the rig can use either (RigSettings).
//
// Ownership: the allocator owns every buffer, handed out or pooled, and frees them all
// when destroyed, so buffers must not outlive it. Release each buffer at most once.
// Threads: a component's worker thread may call it while the owner does; thread-safe.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/BufferAllocator.h"

namespace QuillBench {

class RecyclingAllocator : public Orb::BufferAllocator {
 public:
  RecyclingAllocator();
  ~RecyclingAllocator() override;
  RecyclingAllocator(const RecyclingAllocator&) = delete;
  RecyclingAllocator& operator=(const RecyclingAllocator&) = delete;

  /// Accepts 32 only: the component asks for nothing else.
  bool setBitsPerPixel(std::int32_t bits) override;
  /// A buffer of `height * max(planes, 1)` rows of `width` pixels (stride = width), the
  /// most recently given back one of that shape when there is one; its bytes are whatever
  /// its last user left. Null when the block would not fit in 32 bits.
  Orb::ImageBuffer* getBuffer(std::uint32_t width, std::uint32_t height,
                              std::uint32_t planes) override;

 private:
  class Buffer;
  void giveBack(Buffer* buffer);

  std::mutex mutex_;
  std::vector<std::unique_ptr<Buffer>> all_;  // every buffer made
  std::vector<Buffer*> pooled_;               // given back, most recent last
};

}  // namespace QuillBench
