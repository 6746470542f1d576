#include "text/FullDrawing.h"

#include <algorithm>

#include "text/Utf.h"

namespace Orb {

namespace {

bool isEmpty(const PixelRect& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

void include(PixelRect& total, bool& any, const PixelRect& rect) {
  if (isEmpty(rect)) return;
  if (!any) {
    total = rect;
    any = true;
    return;
  }
  total.left = std::min(total.left, rect.left);
  total.top = std::min(total.top, rect.top);
  total.right = std::max(total.right, rect.right);
  total.bottom = std::max(total.bottom, rect.bottom);
}

PixelRect inkOf(const GlyphImage& image, std::int64_t x, std::int64_t y) {
  return PixelRect{x + image.left, y - image.top, x + image.left + image.width,
                   y - image.top + image.height};
}

// [low, high) limited to `extent` pixels, keeping the end `keep` says (-1 low, 1 high, 0
// around `centre`).
void limit(std::int64_t& low, std::int64_t& high, std::int64_t extent, int keep,
           std::int64_t centre) {
  if (high - low <= extent) return;
  if (keep < 0) {
    high = low + extent;
  } else if (keep > 0) {
    low = high - extent;
  } else {
    low = std::max(low, centre - extent / 2);
    high = low + extent;
  }
}

// The box `rect` within `window`, moved to the window's origin.
TextBox onCanvas(const PixelRect& rect, const PixelRect& window) {
  const std::int64_t left = std::max(rect.left, window.left);
  const std::int64_t top = std::max(rect.top, window.top);
  const std::int64_t right = std::min(rect.right, window.right);
  const std::int64_t bottom = std::min(rect.bottom, window.bottom);
  if (right <= left || bottom <= top) return TextBox{};
  return TextBox{static_cast<std::int32_t>(left - window.left), static_cast<std::int32_t>(top - window.top),
                 static_cast<std::int32_t>(right - window.left), static_cast<std::int32_t>(bottom - window.top)};
}

}  // namespace

LayoutInk measureInk(const FullLayout& layout, GlyphSource& glyphs) {
  LayoutInk ink;
  ink.glyphs.reserve(layout.glyphs.size());
  ink.seen.reserve(layout.glyphs.size());
  ink.seenAt.reserve(layout.glyphs.size());
  for (const PositionedGlyph& glyph : layout.glyphs) {
    const GlyphCache::Found found = glyphs.image(glyph.glyph);
    ink.seen.push_back(found);
    ink.seenAt.push_back(glyphs.generation());
    ink.glyphs.push_back(found.image ? inkOf(*found.image, glyph.x, glyph.y) : PixelRect{});
    include(ink.total, ink.any, ink.glyphs.back());
  }
  for (const Decoration& decoration : layout.decorations) {
    // The image is built at the whole pixel left of and above the rectangle, which keeps
    // its fraction.
    const std::int64_t x = decoration.left >= 0 ? decoration.left / 64 : -((63 - decoration.left) / 64);
    const std::int64_t y = decoration.top >= 0 ? decoration.top / 64 : -((63 - decoration.top) / 64);
    GlyphImage image;
    const bool built = glyphs.rectangle(decoration.left - x * 64, decoration.top - y * 64,
                                        decoration.width, decoration.height,
                                        decoration.strokeRadius, image);
    ink.decorationRects.push_back(built ? inkOf(image, x, y) : PixelRect{});
    ink.decorations.push_back(std::move(image));
    include(ink.total, ink.any, ink.decorationRects.back());
  }
  return ink;
}

PixelRect canvasWindow(const FullLayout& layout, const LayoutInk& ink, std::uint32_t maxWidth,
                       std::uint32_t maxHeight) {
  if (!ink.any) return PixelRect{layout.anchor.left, layout.anchor.top, layout.anchor.left + 1,
                                 layout.anchor.top + 1};
  PixelRect window = ink.total;
  const int column = static_cast<int>((layout.alignment - 1) % 3) - 1;  // -1 left .. 1 right
  const int row = layout.alignment >= 7 ? -1 : layout.alignment <= 3 ? 1 : 0;  // -1 top
  const TextBox& anchor = layout.anchor;
  limit(window.left, window.right, std::max<std::int64_t>(std::int64_t{maxWidth} + maxWidth / 2, 1), column,
        (std::int64_t{anchor.left} + anchor.right) / 2);
  limit(window.top, window.bottom, std::max<std::int64_t>(maxHeight, 1), row,
        (std::int64_t{anchor.top} + anchor.bottom) / 2);
  return window;
}

void drawFullLayout(const FullLayout& layout, const LayoutInk& ink, GlyphSource& glyphs,
                    const PixelRect& window, std::uint32_t pixelFormat, const Canvas& canvas) {
  for (std::size_t i = 0; i < layout.decorations.size(); ++i) {
    const PixelRect& rect = ink.decorationRects[i];
    if (isEmpty(rect)) continue;
    compositeClipped(layout.decorations[i].paint, pixelFormat, ink.decorations[i],
                     rect.left - window.left, rect.top - window.top, canvas);
  }
  for (std::size_t i = 0; i < layout.glyphs.size(); ++i) {
    const PixelRect& rect = ink.glyphs[i];
    if (isEmpty(rect) || rect.right <= window.left || rect.left >= window.right ||
        rect.bottom <= window.top || rect.top >= window.bottom) {
      continue;
    }
    const PositionedGlyph& glyph = layout.glyphs[i];
    const GlyphCache::Found found =
        ink.seenAt[i] == glyphs.generation() && ink.seen[i].painted != nullptr
            ? ink.seen[i]
            : glyphs.image(glyph.glyph);
    if (found.image == nullptr) continue;
    compositeClipped(glyph.paint, pixelFormat, *found.image, rect.left - window.left,
                     rect.top - window.top, canvas, found.painted);
  }
}

LaidOutText describeFullLayout(const StyledText& text, const FullLayout& layout,
                               const LayoutInk& ink, const PixelRect& window) {
  LaidOutText described;
  described.alignment = layout.alignment;
  const TextBox& anchor = layout.anchor;
  described.anchor = TextBox{static_cast<std::int32_t>(anchor.left - window.left),
                             static_cast<std::int32_t>(anchor.top - window.top),
                             static_cast<std::int32_t>(anchor.right - window.left),
                             static_cast<std::int32_t>(anchor.bottom - window.top)};
  std::vector<PixelRect> lineInk(layout.lines.size());
  std::vector<bool> inked(layout.lines.size(), false);
  for (std::size_t i = 0; i < layout.glyphs.size(); ++i) {
    const std::size_t line = layout.glyphs[i].line;
    bool any = inked[line];
    include(lineInk[line], any, ink.glyphs[i]);
    inked[line] = any;
  }
  for (std::size_t i = 0; i < layout.decorations.size(); ++i) {
    const std::size_t line = layout.decorations[i].line;
    bool any = inked[line];
    include(lineInk[line], any, ink.decorationRects[i]);
    inked[line] = any;
  }
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    LaidOutLine line;
    const FullLine& range = layout.lines[i];
    encodeUtf8(text.text.data() + range.begin, range.end - range.begin, line.text);
    if (inked[i]) line.ink = onCanvas(lineInk[i], window);
    described.lines.push_back(std::move(line));
  }
  return described;
}

}  // namespace Orb
