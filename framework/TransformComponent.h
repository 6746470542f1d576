#pragma once
// Base of every transform component: its lifecycle and properties, and its port factory.
#include "framework/ComponentInterface.h"
#include "framework/TransformInterface.h"

namespace Orb {

class TransformComponent : public virtual ComponentInterface, public virtual TransformInterface {
 public:
  ~TransformComponent() override = default;
};

}  // namespace Orb
