#pragma once
// The kind of a setting, the first part of its key (Setting::kind). A provider keeps
// settings of different kinds apart even when their group and name agree.
#include <cstdint>

namespace Orb {

/// The frame-buffer settings: "framebuffer"/"size".
inline constexpr std::int32_t SETTING_KIND_FRAMEBUFFER = 0;
/// The style settings: "Color"/..., "Font"/..., "Layout"/....
inline constexpr std::int32_t SETTING_KIND_STYLE = 4;

}  // namespace Orb
