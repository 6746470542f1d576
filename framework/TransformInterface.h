#pragma once
// The port factory of a one-in, one-out component.
#include "framework/InputInterface.h"
#include "framework/OutputInterface.h"

namespace Orb {

class TransformInterface : public InputInterface, public OutputInterface {
 public:
  ~TransformInterface() override = default;
};

}  // namespace Orb
