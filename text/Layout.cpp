#include "text/Layout.h"

#include <algorithm>

#include "text/GlyphImage.h"
#include "text/MarkupScanner.h"

namespace Orb {

namespace {

std::int64_t lineStep(const RenderContext& context) {
  const std::int64_t size = context.styles.top().size;
  return size + size / 5;
}

void include(DrawnBox& box, const PixelRect& rect) {
  box.xMin = std::min(box.xMin, static_cast<std::uint32_t>(rect.left));
  box.xMax = std::max(box.xMax, static_cast<std::uint32_t>(rect.right));
  box.yMin = std::min(box.yMin, static_cast<std::uint32_t>(rect.top));
  box.yMax = std::max(box.yMax, static_cast<std::uint32_t>(rect.bottom));
  box.drawn = true;
}

// The top style's image of `codePoint` from the glyph cache, built into `scratch` and kept
// there when the cache does not take it; a null image when the glyph cannot be drawn.
GlyphCache::Found glyphImage(RenderContext& context, char32_t codePoint, GlyphImage& scratch) {
  const StyleNode& style = context.styles.top();
  const FontRecord& record = *style.font;
  if (!record.face) return GlyphCache::Found{};
  GlyphKey key;
  key.faceSerial = record.face->serial();
  key.pixelSize = style.size;
  key.codePoint = codePoint;
  key.loadFlags = record.loadFlags;
  key.transform = record.transform;
  key.strokeRadius = strokeRadius(style.size);
  GlyphCache::Found found;
  if (context.glyphs.find(key, found)) return found;
  const bool built = buildGlyphImage(context, codePoint, scratch);
  return context.glyphs.store(key, scratch, built);
}

}  // namespace

DrawnBox layOutText(RenderContext& context, std::uint32_t pixelFormat, std::uint32_t maxWidth,
                    std::uint32_t maxHeight, const Canvas& canvas) {
  DrawnBox box;
  box.xMin = canvas.width;
  box.yMin = canvas.height;
  const std::int64_t marginX = maxWidth / 4;
  const std::int64_t marginY = maxHeight / 4;
  const std::int64_t rightLimit = static_cast<std::int64_t>(canvas.width) - marginX;
  const std::int64_t bottomLimit = static_cast<std::int64_t>(canvas.height) - marginY;
  std::int64_t penX = marginX;
  std::int64_t penY = marginY;
  bool firstCharacter = true;
  std::size_t glyphsLeft = MarkupLimits::kGlyphsPerSubtitle;
  char32_t codePoint = 0;
  GlyphImage scratch;
  while (penY < bottomLimit && nextCharacter(context, codePoint)) {
    if (firstCharacter) {
      penY += context.styles.top().size;
      firstCharacter = false;
    }
    if (codePoint == U'\n') {
      penY += lineStep(context);
      penX = marginX;
      continue;
    }
    if (codePoint == U'\r') continue;
    if (glyphsLeft-- == 0) break;
    const GlyphCache::Found found = glyphImage(context, codePoint, scratch);
    const GlyphImage* image = found.image;
    if (image == nullptr) continue;
    if (penX + image->advance >= rightLimit) {
      penY += lineStep(context);
      if (penY >= bottomLimit) break;
      penX = marginX;
    }
    const StyleNode& style = context.styles.top();
    // The lines are placed by the face's metrics at this style's size.
    if (style.underline || style.strikeOut) {
      style.font->face->prepare(style.size, style.font->transform);
    }
    PixelRect drawn;
    if (!compositeGlyph(style, pixelFormat, *image, penX, penY, canvas, drawn, found.painted)) continue;
    include(box, drawn);
    penX += image->advance;
  }
  return box;
}

}  // namespace Orb
