#pragma once
// A media buffer that carries a format descriptor right after the buffer fields.
#include "framework/FormatDescriptor.h"
#include "framework/MediaBuffer.h"

namespace Orb {

class TypedMediaBuffer : public MediaBuffer, public FormatDescriptor {
 public:
  TypedMediaBuffer() = default;
  ~TypedMediaBuffer() override = default;

  FormatDescriptor& descriptor() { return *this; }
  const FormatDescriptor& descriptor() const { return *this; }
};

}  // namespace Orb
