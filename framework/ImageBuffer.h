#pragma once
// The output buffer a host's allocator hands out: a typed buffer followed by the
// description of the image it holds. Components write region and placement and read
// stride; the host sets the rest.
#include "framework/ImageProperties.h"
#include "framework/TypedMediaBuffer.h"

namespace Orb {

class ImageBuffer : public TypedMediaBuffer {
 public:
  ImageBuffer() = default;
  ~ImageBuffer() override = default;

  ImageProperties properties;
};

}  // namespace Orb
