#include "text/ClassicLayout.h"

#include <algorithm>
#include <string>

#include "text/Utf.h"

namespace Orb {

namespace {

std::int64_t lineStep(std::int32_t size) { return std::int64_t{size} + size / 5; }

void include(DrawnBox& box, const PixelRect& rect) {
  box.xMin = std::min(box.xMin, static_cast<std::uint32_t>(rect.left));
  box.xMax = std::max(box.xMax, static_cast<std::uint32_t>(rect.right));
  box.yMin = std::min(box.yMin, static_cast<std::uint32_t>(rect.top));
  box.yMax = std::max(box.yMax, static_cast<std::uint32_t>(rect.bottom));
  box.drawn = true;
}

// The face's underline position at `size`, whole pixels (negative = below the baseline).
std::int64_t underlineOffset(const FontRecord& record, std::int32_t size) {
  record.face->prepare(size, record.transform);
  const FT_Face face = record.face->handle();
  if (face->size == nullptr) return 0;
  return FT_MulFix(face->underline_position, face->size->metrics.y_scale) / 64;
}

GlyphPaint paintOf(const TextStyle& style, const FontRecord& record) {
  GlyphPaint paint;
  paint.fill = style.fill;
  paint.outline = style.outline;
  paint.underline = style.underline != 0;
  paint.strikeOut = style.strikeOut != 0;
  if (paint.underline || paint.strikeOut) paint.lineOffset = underlineOffset(record, style.size);
  return paint;
}

class PenWalk {
 public:
  PenWalk(GlyphSource& source, std::uint32_t maxWidth, std::uint32_t maxHeight,
          const Canvas& target)
      : glyphs(source), canvas(target), marginX(maxWidth / 4),
        rightLimit(static_cast<std::int64_t>(target.width) - marginX),
        bottomLimit(static_cast<std::int64_t>(target.height) - maxHeight / 4),
        penX(marginX), penY(maxHeight / 4) {
    layout.box.xMin = target.width;
    layout.box.yMin = target.height;
  }

  ClassicLayout walk(const StyledText& text, const ResolvedFonts& fonts) {
    layout.glyphs.reserve(std::min(text.text.size(), kClassicGlyphLimit));
    for (const StyledRun& run : text.runs) {
      const FontRecord& record = *fonts.ofRequest[run.style.font];
      for (std::size_t at = run.begin; at < run.end; ++at) {
        if (!step(at, text.text[at], run.style, record)) return finish(at);
      }
    }
    return finish(text.text.size());
  }

 private:
  ClassicLayout finish(std::size_t end) {
    if (!layout.lines.empty()) layout.lines.back().end = end;
    return std::move(layout);
  }

  // Ends the current line at `end` and starts the next at `next`.
  void breakLine(std::size_t end, std::size_t next) {
    layout.lines.back().end = end;
    layout.lines.push_back(ClassicLine{next, next, PixelRect{}, false});
  }

  // Lays out the character at `at`; false once the walk is over.
  bool step(std::size_t at, char32_t codePoint, const TextStyle& style, const FontRecord& record) {
    if (penY >= bottomLimit) return false;
    if (firstCharacter) {
      // The first baseline lies one pixel size below the top margin, in the size of the
      // first character, whatever it is.
      penY += style.size;
      firstCharacter = false;
      layout.lines.push_back(ClassicLine{at, at, PixelRect{}, false});
    }
    if (codePoint == U'\n') {
      penY += lineStep(style.size);
      penX = marginX;
      breakLine(at, at + 1);
      return true;
    }
    if (codePoint == U'\r') return true;
    if (glyphsLeft-- == 0) return false;
    PlacedGlyph glyph;
    glyph.glyph = GlyphRequest{record.face.get(), style.size,        record.transform,
                               record.loadFlags,  codePoint,         false,
                               strokeRadius(style.size)};
    glyph.seen = glyphs.image(glyph.glyph);
    glyph.generation = glyphs.generation();
    const GlyphImage* image = glyph.seen.image;
    if (image == nullptr) return true;  // skipped: takes no room
    if (penX + image->advance >= rightLimit) {
      penY += lineStep(style.size);
      if (penY >= bottomLimit) return false;
      penX = marginX;
      breakLine(at, at);
    }
    const std::optional<PixelRect> place = placeGlyph(*image, penX, penY, canvas);
    if (!place) return true;  // too big for the canvas: takes no room either
    include(layout.box, *place);
    includeInLine(*place);
    glyph.penX = penX;
    glyph.baseline = penY;
    glyph.paint = paintOf(style, record);
    penX += image->advance;
    layout.glyphs.push_back(glyph);
    return true;
  }

  void includeInLine(const PixelRect& rect) {
    ClassicLine& line = layout.lines.back();
    if (!line.inked) {
      line.ink = rect;
      line.inked = true;
      return;
    }
    line.ink.left = std::min(line.ink.left, rect.left);
    line.ink.top = std::min(line.ink.top, rect.top);
    line.ink.right = std::max(line.ink.right, rect.right);
    line.ink.bottom = std::max(line.ink.bottom, rect.bottom);
  }

  GlyphSource& glyphs;
  const Canvas& canvas;
  const std::int64_t marginX;
  const std::int64_t rightLimit;
  const std::int64_t bottomLimit;
  std::int64_t penX;
  std::int64_t penY;  // the baseline of the current line
  bool firstCharacter = true;
  std::size_t glyphsLeft = kClassicGlyphLimit;
  ClassicLayout layout;
};

}  // namespace

ClassicLayout layOutClassic(const StyledText& text, const ResolvedFonts& fonts,
                            GlyphSource& glyphs, std::uint32_t maxWidth, std::uint32_t maxHeight,
                            const Canvas& canvas) {
  return PenWalk(glyphs, maxWidth, maxHeight, canvas).walk(text, fonts);
}

LaidOutText describeClassicLayout(const StyledText& text, const ClassicLayout& layout,
                                  std::uint32_t x, std::uint32_t y, std::uint32_t width,
                                  std::uint32_t height) {
  LaidOutText described;
  described.anchor = TextBox{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                             static_cast<std::int32_t>(x + width), static_cast<std::int32_t>(y + height)};
  for (const ClassicLine& line : layout.lines) {
    std::u32string shown;
    for (std::size_t at = line.begin; at < line.end; ++at) {
      if (text.text[at] != U'\r') shown.push_back(text.text[at]);
    }
    LaidOutLine out;
    encodeUtf8(shown.data(), shown.size(), out.text);
    if (line.inked) {
      out.ink = TextBox{static_cast<std::int32_t>(line.ink.left), static_cast<std::int32_t>(line.ink.top),
                        static_cast<std::int32_t>(line.ink.right),
                        static_cast<std::int32_t>(line.ink.bottom)};
    }
    described.lines.push_back(std::move(out));
  }
  return described;
}

void drawPlacedGlyphs(const std::vector<PlacedGlyph>& placed, GlyphSource& glyphs,
                      std::uint32_t pixelFormat, const Canvas& canvas) {
  for (const PlacedGlyph& glyph : placed) {
    const bool stillValid = glyph.seen.painted != nullptr && glyph.generation == glyphs.generation();
    const GlyphCache::Found found = stillValid ? glyph.seen : glyphs.image(glyph.glyph);
    if (found.image == nullptr) continue;
    PixelRect drawn;
    compositeGlyph(glyph.paint, pixelFormat, *found.image, glyph.penX, glyph.baseline, canvas,
                   drawn, found.painted);
  }
}

}  // namespace Orb
