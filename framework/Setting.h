#pragma once
// The key of one setting in the host's settings provider: a kind and a group and name.
// The strings are copies; group and name may be reassigned so that one Setting serves
// several look-ups.
#include <cstdint>
#include <utility>

#include "framework/SimpleString.h"

namespace Orb {

class Setting {
 public:
  Setting(std::int32_t kindOfSetting, SimpleString<char> groupName, SimpleString<char> settingName)
      : kind(kindOfSetting), group(std::move(groupName)), name(std::move(settingName)) {}

  Setting(std::int32_t kindOfSetting, const char* groupName, const char* settingName)
      : kind(kindOfSetting), group(groupName), name(settingName) {}

  virtual ~Setting() = default;

  std::int32_t kind;  ///< 0 frame-buffer settings, 4 style settings
  SimpleString<char> group;
  SimpleString<char> name;
};

}  // namespace Orb
