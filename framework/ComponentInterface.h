#pragma once
// Lifecycle and property access of a component, reached through queryInterface.
// Positions 3 to 7 belong to the host engine; a component keeps their base answers.
#include <cstdint>
#include <vector>

#include "framework/PropertyValue.h"
#include "framework/SettingsProvider.h"

namespace Orb {

class ComponentInterface {
 public:
  virtual ~ComponentInterface() = default;

  /// Hands over the host's settings provider (not owned; outlives the attachment).
  virtual bool attach(SettingsProvider* /*provider*/) { return true; }
  /// Ends the attachment; the component no longer calls the provider.
  virtual bool detach() { return true; }

  virtual bool componentOperation3(std::uint32_t, std::uint32_t) { return true; }
  virtual bool componentOperation4(std::uint32_t, std::uint32_t) { return true; }
  virtual bool componentOperation5(std::uint32_t, std::uint32_t) { return true; }
  virtual bool componentOperation6(std::uint32_t, std::uint32_t) { return true; }
  virtual bool componentOperation7(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                   std::uint32_t) {
    return false;
  }

  /// Appends every property key, in key order, to `*names`. The pointers stay valid
  /// while the property exists. False when `names` is null.
  virtual bool getPropertyNames(std::vector<const char*>* names) = 0;
  /// Copies the property `name` into `*value` (see PropertyTable::getProperty).
  virtual bool getProperty(const char* name, PropertyValue* value) = 0;
};

}  // namespace Orb
