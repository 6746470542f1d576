#pragma once
// The host's source of output buffers, given to an output port with CONTROL_SET_ALLOCATOR.
// Operations are called by position; the first belongs to the host.
#include <cstdint>

#include "framework/ImageBuffer.h"

namespace Orb {

class BufferAllocator {
 public:
  virtual ~BufferAllocator() = default;

  /// Position 1: the host's own operation; a component never calls it.
  virtual void allocatorOperation1() {}

  /// Pixel depth of the buffers asked for from now on (components pass 32).
  virtual bool setBitsPerPixel(std::int32_t bits) = 0;

  /// A buffer of at least `height` rows of `properties.stride` pixels, or null. The
  /// buffer stays the host's: the component hands it downstream and never frees it.
  virtual ImageBuffer* getBuffer(std::uint32_t width, std::uint32_t height,
                                 std::uint32_t planes) = 0;
};

}  // namespace Orb
