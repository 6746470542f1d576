#pragma once
// The host's settings provider, given to a component's attach. Operations are called by
// position: the first six belong to the host and are never called by a component.
#include "framework/PropertyValue.h"
#include "framework/Setting.h"
#include "framework/SettingConsumer.h"

namespace Orb {

class SettingsProvider {
 public:
  virtual ~SettingsProvider() = default;

  // Positions 1 to 6: the host's own operations; a component never calls them.
  virtual void providerOperation1() {}
  virtual void providerOperation2() {}
  virtual void providerOperation3() {}
  virtual void providerOperation4() {}
  virtual void providerOperation5() {}
  virtual void providerOperation6() {}

  /// Later changes are reported to `consumer` (not owned) until it is removed.
  virtual void addConsumer(SettingConsumer* consumer) = 0;
  /// Once this returns, `consumer` receives no further calls.
  virtual void removeConsumer(SettingConsumer* consumer) = 0;
  /// Fills `*value` and answers true when `setting` exists; else false, `*value`
  /// unchanged. String and structure payloads stay the provider's.
  virtual bool getSetting(const Setting* setting, PropertyValue* value) = 0;
};

}  // namespace Orb
