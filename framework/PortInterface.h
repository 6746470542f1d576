#pragma once
// One port of a component. Connected components talk through these four operations with
// a message code (MessageCodes.h) and a value that may be null when the code carries none.
#include <cstdint>

#include "framework/PropertyValue.h"

namespace Orb {

/// The kind a component's ports are created with (createInputPort, createOutputPort);
/// components refuse any other.
inline constexpr std::int32_t PORT_KIND_STREAM = 1;

class PortInterface {
 public:
  virtual ~PortInterface() = default;

  /// A yes/no question (QUERY_READY).
  virtual bool query(std::uint32_t code, const PropertyValue* value) = 0;
  /// Connection, flushing and allocator messages from the connected component.
  virtual bool control(std::uint32_t code, const PropertyValue* value) = 0;
  /// Writes the value asked for into `*value`; false when not answered.
  virtual bool getValue(std::uint32_t code, PropertyValue* value) = 0;
  /// Data or a message travelling downstream; true when accepted.
  virtual bool deliver(std::uint32_t code, const PropertyValue* value) = 0;
};

}  // namespace Orb
