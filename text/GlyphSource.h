#pragma once
// Where layout and compositing get glyph images: from the glyph cache when seen before,
// else built with the renderer's stroker and kept when the cache takes them.
#include <cstdint>

#include "text/FreeTypeHandles.h"
#include "text/GlyphCache.h"
#include "text/GlyphImage.h"

namespace Orb {

class GlyphSource {
 public:
  /// Builds with `library` (borrowed, outliving the source) and a stroker of its own.
  explicit GlyphSource(FT_Library library);

  /// False when no stroker could be made; nothing can be built then.
  bool ready() const { return stroker.handle() != nullptr; }

  /// The image `request` makes (a null image when the glyph cannot be drawn). Valid while
  /// generation() stays what it is after this call.
  GlyphCache::Found image(const GlyphRequest& request);

  /// A rectangle outlined like a glyph (see buildRectangleImage); not kept.
  bool rectangle(FT_Pos left, FT_Pos top, FT_Pos width, FT_Pos height, FT_Fixed strokeRadius,
                 GlyphImage& image);

  /// Changes whenever an image answered earlier may have moved or gone (an image was built
  /// or the cache emptied); an answer stays valid while this count stays the same.
  std::uint64_t generation() const { return builds; }

  /// Empties the cache and gives it a new budget (0 keeps nothing).
  void resetCache(std::size_t budgetBytes);
  const GlyphCache& cache() const { return glyphs; }

 private:
  FT_Library library;
  FreeTypeStroker stroker;
  GlyphCache glyphs;
  GlyphImage scratch;  // an image too large to keep lives here until the next build
  std::uint64_t builds = 0;
};

}  // namespace Orb
