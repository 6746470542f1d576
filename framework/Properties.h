#pragma once
// Base of the property records that travel with samples and messages (ImageProperties).

namespace Orb {

class Properties {
 public:
  virtual ~Properties() = default;
};

}  // namespace Orb
