#pragma once
// The classic layout: a pen walk over the styled characters. Left-aligned lines, a break
// at U+000A and wherever the next glyph would cross the right limit (no word boundaries,
// no kerning), one glyph per character by the face's character map, each advancing by its
// outlined image's advance. The walk stops at the bottom limit; the owner positions the
// returned box in its frame.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "text/Compositor.h"
#include "text/FontResolution.h"
#include "text/GlyphSource.h"
#include "text/LaidOutText.h"
#include "text/StyledText.h"

namespace Orb {

/// Characters laid out per subtitle at most. A real subtitle has a few hundred and the
/// bottom limit ends the walk long before this; a megabyte of characters that never fit
/// (too big for the canvas) would otherwise be rasterised one by one.
constexpr std::size_t kClassicGlyphLimit = 4096;

/// Edges of what was drawn, right and bottom exclusive. When nothing was drawn `drawn`
/// is false and the edges keep their starting values (left = canvas width, right = 0,
/// and likewise vertically).
struct DrawnBox {
  std::uint32_t xMin = 0;
  std::uint32_t xMax = 0;
  std::uint32_t yMin = 0;
  std::uint32_t yMax = 0;
  bool drawn = false;
};

/// One glyph where the walk put it, with how to draw it.
struct PlacedGlyph {
  GlyphRequest glyph;
  std::int64_t penX = 0;
  std::int64_t baseline = 0;
  GlyphPaint paint;
  /// The image as the walk saw it, still valid while the glyph source's generation is
  /// `generation` and the image was kept (`seen.painted` set).
  GlyphCache::Found seen;
  std::uint64_t generation = 0;
};

/// The characters [begin, end) of StyledText::text the walk put on one line (a line ends
/// at a line feed, a wrap or the end of the walk), and the union of what they drew.
struct ClassicLine {
  std::size_t begin = 0;
  std::size_t end = 0;
  PixelRect ink;
  bool inked = false;
};

struct ClassicLayout {
  std::vector<PlacedGlyph> glyphs;  ///< in the order they are drawn
  std::vector<ClassicLine> lines;
  DrawnBox box;
};

/// Walks `text` (with `fonts` resolved for its requests) in a maxWidth × maxHeight area
/// centred in a canvas of canvasWidth × canvasHeight, taking images from `glyphs`.
ClassicLayout layOutClassic(const StyledText& text, const ResolvedFonts& fonts,
                            GlyphSource& glyphs, std::uint32_t maxWidth, std::uint32_t maxHeight,
                            const Canvas& canvas);

/// What the owner is told of a classic layout: the reported box (`x`, `y`, `width`,
/// `height`) as the anchor, and each line the walk reached with its text and ink.
LaidOutText describeClassicLayout(const StyledText& text, const ClassicLayout& layout,
                                  std::uint32_t x, std::uint32_t y, std::uint32_t width,
                                  std::uint32_t height);

/// Draws the laid-out glyphs into `canvas` (cleared) in byte order `pixelFormat`.
void drawPlacedGlyphs(const std::vector<PlacedGlyph>& placed, GlyphSource& glyphs,
                      std::uint32_t pixelFormat, const Canvas& canvas);

}  // namespace Orb
