#pragma once
// The override blocks of the other common subtitle format, "{\an8}" or "{\i1}", which many
// SubRip files carry. Only the tags that have a meaning here are read; every other one is
// dropped, so "{\fad(200,200)\blur3}" leaves no trace.
#include <optional>
#include <string_view>
#include <vector>

#include "text/StyledText.h"

namespace Orb {

/// One tag of an override block that changes something here.
struct OverrideTag {
  enum class Kind { Alignment, Bold, Italic, Underline, StrikeOut, Colour };
  /// Value of the value-taking kinds, for `Colour` what the tag read without a value:
  /// -1 (back to the subtitle's base).
  static constexpr int kBase = -1;

  Kind kind = Kind::Alignment;
  int value = 0;  ///< Alignment 1..9; switches 1 on, 0 off or kBase
  std::optional<Colour> colour;  ///< Colour: the colour, or nothing for the base's
};

/// Reads the tags of the block whose content (between "{" and "}") is `content`, in order:
/// `\anN` (N 1..9), `\b` (1 or a weight of 700 and more is bold, 0 or a lighter weight not),
/// `\i`, `\u`, `\s` (1 or 0), each without a value back to the base, and `\c` or `\1c`
/// with a colour written "&HBBGGRR&" (the "&", "H" and leading zeros optional; a fourth,
/// alpha byte is dropped), without one back to the base fill. A tag with any other name
/// or a value of another form is dropped, and so is everything inside the parentheses of
/// a tag ("\t(\i1)" animates, which nothing here does). Content that does not start with
/// a backslash holds no tags.
std::vector<OverrideTag> readOverrideBlock(std::u32string_view content);

}  // namespace Orb
