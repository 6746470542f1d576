#pragma once
// The classic markup reader: a small, strict HTML of b, i, u, s and font (color, face,
// size) read the way subtitle authors have come to rely on. Every closing tag pops one style
// whatever its name, unknown opening tags push nothing, attribute lists with anything odd in
// them are ignored as a whole, and an unterminated tag ends the text.
#include <cstddef>
#include <string_view>

#include "text/StyledText.h"

namespace Orb {

/// Bounds on what markup can cost, so that a hostile subtitle cannot hold the owner's lock
/// for long or exhaust memory.
struct ClassicMarkupLimits {
  /// Styles cannot nest deeper than this (the base included): a megabyte of <u> would
  /// otherwise hold a third of a million. Opening tags beyond it are dropped.
  static constexpr std::size_t kMaxDepth = 256;
  /// Tags that ask for a face of their own (b, i, font face) honoured per subtitle; each
  /// costs a file parse and possibly a face-cache query. Later ones keep the enclosing font.
  static constexpr std::size_t kFaceRequests = 64;
};

/// Reads `text` (decoded, without U+0000) with the classic markup, starting from `base`.
/// The runs hold every character outside tags up to the end or an unterminated tag.
StyledText readClassicMarkup(std::u32string_view text, const MarkupBase& base);

/// Reads "#rrggbb" (exactly seven code points, hexadecimal in either case).
bool parseColour(const char32_t* value, std::size_t length, Colour& colour);

}  // namespace Orb
