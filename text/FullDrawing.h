#pragma once
// Drawing a full layout: where the ink of its glyphs and lines lands, the part of it the
// canvas holds (only as large as the text, and no larger than the area allowed), the
// drawing itself, and what the owner is told about the lines.
#include <cstdint>
#include <vector>

#include "text/Compositor.h"
#include "text/FullLayout.h"
#include "text/GlyphSource.h"

namespace Orb {

/// The ink of a full layout, in layout pixels.
struct LayoutInk {
  std::vector<PixelRect> glyphs;       ///< per positioned glyph; empty when it draws nothing
  std::vector<GlyphCache::Found> seen;  ///< per positioned glyph, as measured
  /// Per positioned glyph, the glyph source's generation right after it was measured: its
  /// `seen` image is gone once a later glyph is built, since the cache may evict for it.
  std::vector<std::uint64_t> seenAt;
  std::vector<GlyphImage> decorations;  ///< per decoration, built
  std::vector<PixelRect> decorationRects;
  /// The ink the canvas is cut from; right and bottom exclusive. Along an axis on which the
  /// ink was larger than the canvas, the cut itself.
  PixelRect total;
  bool any = false;
};

/// Measures the ink of `layout` that can reach a canvas of at most 1.5 × `maxWidth` by
/// `maxHeight` (see canvasWindow), building or finding its images in `glyphs`. Glyphs and
/// lines wholly outside that canvas are never built and count as drawing nothing.
LayoutInk measureInk(const FullLayout& layout, GlyphSource& glyphs, std::uint32_t maxWidth,
                     std::uint32_t maxHeight);

/// The part of `ink` a canvas holds: all of it, unless it is wider than 1.5 × `maxWidth` or
/// taller than `maxHeight`; then what lies nearest the side the alignment holds on to.
/// 1 × 1 pixel at the anchor's corner when there is no ink.
PixelRect canvasWindow(const FullLayout& layout, const LayoutInk& ink, std::uint32_t maxWidth,
                       std::uint32_t maxHeight);

/// Draws the glyphs and lines of `layout` that fall in `window` into `canvas` (cleared,
/// the size of the window) in byte order `pixelFormat`.
void drawFullLayout(const FullLayout& layout, const LayoutInk& ink, GlyphSource& glyphs,
                    const PixelRect& window, std::uint32_t pixelFormat, const Canvas& canvas);

/// What the owner is told: the anchor and each line's text and ink, in canvas pixels.
LaidOutText describeFullLayout(const StyledText& text, const FullLayout& layout,
                               const LayoutInk& ink, const PixelRect& window);

}  // namespace Orb
