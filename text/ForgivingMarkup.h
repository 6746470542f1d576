#pragma once
// The full engine's markup reader, forgiving as players of subtitle files found in the wild
// are: tags are matched by name, styles accumulate, a font tag's attributes may be written
// any common way, colours may be named, and the override blocks and escapes of the other
// common subtitle format ("{\an8}", "{\i1}", "\N", "\h") take effect. Text outside tags is
// never lost: whatever is not a well-formed tag, reference, block or escape is text.
#include <cstddef>
#include <string_view>

#include "text/StyledText.h"

namespace Orb {

/// Bounds on what markup can cost, so that a hostile subtitle renders in bounded time and
/// memory.
struct ForgivingMarkupLimits {
  /// Open tags at most (the base included); opening tags beyond it take no effect.
  static constexpr std::size_t kMaxDepth = 256;
  /// Font requests per subtitle (the base excluded); each costs a face resolution. Style
  /// changes beyond it keep the font they are made in.
  static constexpr std::size_t kFaceRequests = 64;
};

/// Reads `text` (decoded, without U+0000) starting from `base`:
///  - b, i, u, s and font open a level; a closing tag closes the most recent open level of
///    its name and every level opened after it, and is ignored when none is open; levels
///    left open end with the subtitle. Other tags, well-formed, are dropped.
///  - Levels inherit: <i> inside <b> is bold italic, <font> inside <b> stays bold.
///  - font attributes (any order, any quoting): "color" (see parseMarkupColour; ignored
///    with overrideEmbeddedColour), "face" (a family) and "size", either "+n"/"-n" steps of
///    2 pixels or pixels on a 1080-line frame, scaled to `base.frameHeight` (both ignored
///    with overrideEmbeddedFont).
///  - <br> (also <br/>, </br>), "\N" and "\n" break the line; "\h" is U+00A0.
///  - Character references (see readCharacterReference) are decoded.
///  - "{...}" starting with a backslash is an override block (see readOverrideBlock): its
///    switches change the innermost open level; its first alignment becomes the subtitle's.
///    "{" without a "}" after it, or not followed by a backslash, is text.
StyledText readForgivingMarkup(std::u32string_view text, const MarkupBase& base);

}  // namespace Orb
