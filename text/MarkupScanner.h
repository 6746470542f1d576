#pragma once
// Turns a subtitle into characters and style changes. The markup is a small, forgiving
// HTML: b, i, u, s and font (color, face, size). Sloppy markup is tolerated in a fixed way
// that subtitle authors have come to rely on: every closing tag pops one style whatever
// its name, unknown opening tags push nothing, and attribute lists with anything odd in
// them are ignored as a whole.
#include <cstddef>

#include "text/RenderContext.h"

namespace Orb {

/// Replaces the loaded subtitle by `byteLength` bytes of UTF-8 (need not be 0-terminated)
/// and pops the style stack down to the base. Malformed UTF-8 loads an empty text; an
/// embedded U+0000 ends the text. True when there is at least one code point to scan.
bool loadText(RenderContext& context, const char* utf8, std::size_t byteLength);

/// Applies the tags at the read position to the style stack and yields the next code
/// point outside a tag. False at the end of the text or at an unterminated tag (whatever
/// follows it is not shown). The text can be scanned only once.
bool nextCharacter(RenderContext& context, char32_t& codePoint);

/// Reads "#rrggbb" (exactly seven code points, hexadecimal in either case).
bool parseColour(const char32_t* value, std::size_t length, Colour& colour);

}  // namespace Orb
