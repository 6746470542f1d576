#pragma once
// Receives setting changes from a settings provider it registered with.
#include "framework/PropertyValue.h"
#include "framework/Setting.h"

namespace Orb {

class SettingConsumer {
 public:
  virtual ~SettingConsumer() = default;

  /// `setting` now has `value`. Both belong to the provider and are valid for the call.
  virtual void onSettingChanged(const Setting* setting, const PropertyValue* value) = 0;
};

}  // namespace Orb
