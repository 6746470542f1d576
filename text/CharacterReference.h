#pragma once
// HTML character references in subtitle text: the few named ones subtitle files use, and
// numeric ones.
#include <cstddef>
#include <optional>
#include <string_view>

namespace Orb {

/// The character of the reference whose "&" is at `at` of `text`, with `end` set one past
/// its ";": "&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&nbsp;" (names in lower case, as
/// HTML has them), "&#233;" and "&#xE9;" (up to 8 digits). A number that names no
/// character (0, a surrogate, beyond U+10FFFF) gives U+FFFD, as HTML does. Nothing, `end`
/// unchanged, when no reference starts there: the "&" is then text.
std::optional<char32_t> readCharacterReference(std::u32string_view text, std::size_t at,
                                               std::size_t& end);

}  // namespace Orb
