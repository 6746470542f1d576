#pragma once
// The half of a transform's port factory that creates and releases its output port.
// Note the crossing: the output port comes from InputInterface, the input port from
// OutputInterface.
#include <cstdint>

#include "framework/PortInterface.h"

namespace Orb {

class InputInterface {
 public:
  virtual ~InputInterface() = default;

  /// A new output port for `format` (0-terminated), owned by the component, or null when
  /// refused. `reserved` is the engine's and is not read.
  virtual PortInterface* createOutputPort(std::int32_t kind, const char* format,
                                          void* reserved) = 0;
  /// Destroys `port`; true only for the component's current output port.
  virtual bool releaseOutputPort(PortInterface* port) = 0;
};

}  // namespace Orb
