#pragma once
// Colours as subtitle files in the wild write them in a font tag's "color": hexadecimal in
// the forms HTML and the common players accept, and the HTML/CSS colour names.
#include <optional>
#include <string_view>

#include "text/StyledText.h"

namespace Orb {

/// The colour `value` names, or nothing: "#RRGGBB", "#RGB" (each digit doubled),
/// "#AARRGGBB" (the alpha byte is read and dropped: drawing has no translucent text),
/// "RRGGBB" without the "#" (which files written for players that accept it carry), or one
/// of the 148 CSS colour names ("red", "DarkSlateGrey"), letter case ignored everywhere.
/// The fourth byte of the colour is 0.
std::optional<Colour> parseMarkupColour(std::u32string_view value);

}  // namespace Orb
