#include "text/GlyphSource.h"

namespace Orb {

GlyphSource::GlyphSource(FT_Library freeType) : library(freeType), stroker(freeType) {}

GlyphCache::Found GlyphSource::image(const GlyphRequest& request) {
  if (request.face == nullptr || !ready()) return GlyphCache::Found{};
  const GlyphKey key = GlyphKey::of(request);
  GlyphCache::Found found;
  if (glyphs.find(key, found)) return found;
  ++builds;
  // A fresh image: one left from a giant glyph would keep its capacity, and the cache
  // weighs images by what they hold.
  scratch = GlyphImage{};
  const bool built = buildGlyphImage(library, stroker.handle(), request, scratch);
  return glyphs.store(key, scratch, built);
}

bool GlyphSource::rectangle(FT_Pos left, FT_Pos top, FT_Pos width, FT_Pos height,
                            FT_Fixed strokeRadius, GlyphImage& image) {
  return ready() && buildRectangleImage(library, stroker.handle(), left, top, width, height,
                                        strokeRadius, image);
}

void GlyphSource::resetCache(std::size_t budgetBytes) {
  ++builds;
  glyphs.reset(budgetBytes);
}

}  // namespace Orb
