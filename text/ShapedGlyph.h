#pragma once
// What shaping answers for each glyph: plain data, from the shaper to line breaking and
// placement.
#include <cstddef>
#include <cstdint>

namespace Orb {

/// Where a glyph's outline lies around its origin, 26.6 pixels, y upwards.
struct GlyphExtent {
  std::int32_t left = 0;
  std::int32_t right = 0;
  std::int32_t top = 0;
  std::int32_t bottom = 0;
  /// False when the image drawn may lie elsewhere: no scalable outline, or an embedded
  /// bitmap strike near the size that FreeType may pick instead of the outline.
  bool bounded = false;
};

/// One glyph as shaping gave it. Positions are 26.6 pixels, y upwards.
struct ShapedGlyph {
  std::uint32_t glyph = 0;   ///< index in the face of its run
  std::size_t cluster = 0;   ///< first code point of its cluster, in StyledText::text
  std::int32_t advance = 0;  ///< horizontal
  std::int32_t xOffset = 0;
  std::int32_t yOffset = 0;
  std::size_t run = 0;  ///< index of its ShapingRun
  GlyphExtent extent;   ///< of its outline
};

}  // namespace Orb
