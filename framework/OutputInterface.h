#pragma once
// The half of a transform's port factory that creates and releases its input port.
// Note the crossing: the input port comes from OutputInterface, the output port from
// InputInterface.
#include <cstdint>

#include "framework/PortInterface.h"

namespace Orb {

class OutputInterface {
 public:
  virtual ~OutputInterface() = default;

  /// A new input port for `format` (0-terminated), owned by the component, or null when
  /// refused. `reserved` is the engine's and is not read.
  virtual PortInterface* createInputPort(std::int32_t kind, const char* format,
                                         void* reserved) = 0;
  /// Destroys `port`; true only for the component's current input port.
  virtual bool releaseInputPort(PortInterface* port) = 0;
};

}  // namespace Orb
