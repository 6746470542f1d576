#include "text/FullDrawing.h"

#include <algorithm>

#include "text/SubPixel.h"
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

// The side of the ink a too large canvas keeps: -1 left or top, 1 right or bottom, 0 the
// middle; and the anchor's middle it is kept around then.
int columnKept(const FullLayout& layout) { return static_cast<int>((layout.alignment - 1) % 3) - 1; }
int rowKept(const FullLayout& layout) {
  return layout.alignment >= 7 ? -1 : layout.alignment <= 3 ? 1 : 0;
}
std::int64_t anchorCentre(const FullLayout& layout) {
  return (std::int64_t{layout.anchor.left} + layout.anchor.right) / 2;
}
std::int64_t anchorMiddle(const FullLayout& layout) {
  return (std::int64_t{layout.anchor.top} + layout.anchor.bottom) / 2;
}
std::int64_t widthLimit(std::uint32_t maxWidth) {
  return std::max<std::int64_t>(std::int64_t{maxWidth} + maxWidth / 2, 1);
}

// The glyphs (first) and decorations (after them) of a layout, each measured when first
// asked: its image found or built, and where its ink lies.
class InkItems {
 public:
  InkItems(const FullLayout& laidOut, GlyphSource& source, LayoutInk& measuredInk)
      : layout(laidOut), glyphs(source), ink(measuredInk),
        measured(laidOut.glyphs.size() + laidOut.decorations.size(), false) {
    ink.glyphs.resize(layout.glyphs.size());
    ink.seen.resize(layout.glyphs.size());
    ink.seenAt.resize(layout.glyphs.size());
    ink.decorations.resize(layout.decorations.size());
    ink.decorationRects.resize(layout.decorations.size());
  }

  std::size_t count() const { return measured.size(); }

  // Where the item's ink can lie before it is built; empty when only building tells.
  PixelRect reach(std::size_t item) const {
    if (item < layout.glyphs.size()) return layout.glyphs[item].reach;
    const Decoration& decoration = layout.decorations[item - layout.glyphs.size()];
    // As for glyphs (see reachOf), the stroke's arcs reach a little beyond its radius.
    const FT_Pos stroke = decoration.strokeRadius + decoration.strokeRadius / 2;
    return PixelRect{floorPixels(decoration.left - stroke) - 1, floorPixels(decoration.top - stroke) - 1,
                     ceilPixels(decoration.left + decoration.width + stroke) + 1,
                     ceilPixels(decoration.top + decoration.height + stroke) + 1};
  }

  bool isMeasured(std::size_t item) const { return measured[item]; }

  // The item's ink (empty when it draws nothing), measured on first asking.
  const PixelRect& measure(std::size_t item) {
    if (!measured[item]) {
      measured[item] = true;
      if (item < layout.glyphs.size()) {
        measureGlyph(item);
      } else {
        measureDecoration(item - layout.glyphs.size());
      }
    }
    return inkOfItem(item);
  }

  // Leaves the item out: it draws nothing and is never built.
  void drop(std::size_t item) {
    measured[item] = true;
    if (item < layout.glyphs.size()) {
      ink.glyphs[item] = PixelRect{};
      ink.seen[item] = GlyphCache::Found{};
    } else {
      ink.decorationRects[item - layout.glyphs.size()] = PixelRect{};
      ink.decorations[item - layout.glyphs.size()] = GlyphImage{};
    }
  }

 private:
  const PixelRect& inkOfItem(std::size_t item) const {
    return item < layout.glyphs.size() ? ink.glyphs[item] : ink.decorationRects[item - layout.glyphs.size()];
  }

  void measureGlyph(std::size_t i) {
    const PositionedGlyph& glyph = layout.glyphs[i];
    const GlyphCache::Found found = glyphs.image(glyph.glyph);
    ink.seen[i] = found;
    ink.seenAt[i] = glyphs.generation();
    ink.glyphs[i] = found.image ? inkOf(*found.image, glyph.x, glyph.y) : PixelRect{};
  }

  void measureDecoration(std::size_t i) {
    const Decoration& decoration = layout.decorations[i];
    // The image is built at the whole pixel left of and above the rectangle, which keeps
    // its fraction.
    const std::int64_t x = floorPixels(decoration.left);
    const std::int64_t y = floorPixels(decoration.top);
    GlyphImage image;
    const bool built = glyphs.rectangle(decoration.left - x * 64, decoration.top - y * 64,
                                        decoration.width, decoration.height,
                                        decoration.strokeRadius, image);
    ink.decorationRects[i] = built ? inkOf(image, x, y) : PixelRect{};
    ink.decorations[i] = std::move(image);
  }

  const FullLayout& layout;
  GlyphSource& glyphs;
  LayoutInk& ink;
  std::vector<bool> measured;
};

using Side = std::int64_t PixelRect::*;

// How one axis of the ink was cut to the canvas: [low, high) when `cut`.
struct Cut {
  bool cut = false;
  std::int64_t low = 0;
  std::int64_t high = 0;
};

// The exact end of the candidates' ink on one side (`side` of PixelRect, `outwards` -1 for
// a low side, 1 for a high one). Items are built in the order of how far their reach goes,
// until no reach left can pass the ink found: of a text far larger than the canvas only the
// items along that edge are built. False when nothing has ink.
bool exactEdge(InkItems& items, const std::vector<std::size_t>& candidates, Side side, int outwards,
               std::int64_t& edge) {
  bool found = false;
  const auto consider = [&](std::size_t item) {
    const PixelRect& rect = items.measure(item);
    if (isEmpty(rect)) return;
    edge = found ? (outwards < 0 ? std::min(edge, rect.*side) : std::max(edge, rect.*side)) : rect.*side;
    found = true;
  };
  std::vector<std::size_t> bounded;
  for (const std::size_t item : candidates) {
    if (isEmpty(items.reach(item))) {
      consider(item);
    } else {
      bounded.push_back(item);
    }
  }
  std::sort(bounded.begin(), bounded.end(), [&](std::size_t a, std::size_t b) {
    return items.reach(a).*side * outwards > items.reach(b).*side * outwards;
  });
  for (const std::size_t item : bounded) {
    if (found && items.reach(item).*side * outwards <= edge * outwards) break;
    consider(item);
  }
  return found;
}

// Cuts the candidates' ink along one axis (sides `low` and `high`) to `extent` as
// canvasWindow does, dropping the candidates that lie wholly outside the cut. Nothing is
// built when every candidate's reach fits.
Cut cutAxis(InkItems& items, std::vector<std::size_t>& candidates, Side low, Side high,
            std::int64_t extent, int keep, std::int64_t centre) {
  PixelRect reaches;
  bool any = false;
  for (const std::size_t item : candidates) {
    const PixelRect reach = items.reach(item);
    if (isEmpty(reach)) {
      any = false;
      break;
    }
    include(reaches, any, reach);
  }
  if (any && reaches.*high - reaches.*low <= extent) return Cut{};
  Cut cut;
  if (!exactEdge(items, candidates, low, -1, cut.low) || !exactEdge(items, candidates, high, 1, cut.high)) {
    return Cut{};
  }
  limit(cut.low, cut.high, extent, keep, centre);
  cut.cut = true;
  std::vector<std::size_t> kept;
  for (const std::size_t item : candidates) {
    const PixelRect rect = items.isMeasured(item) ? items.measure(item) : items.reach(item);
    if (!isEmpty(rect) && rect.*high > cut.low && rect.*low < cut.high) {
      kept.push_back(item);
    } else {
      items.drop(item);
    }
  }
  candidates = std::move(kept);
  return cut;
}

}  // namespace

LayoutInk measureInk(const FullLayout& layout, GlyphSource& glyphs, std::uint32_t maxWidth,
                     std::uint32_t maxHeight) {
  LayoutInk ink;
  InkItems items(layout, glyphs, ink);
  std::vector<std::size_t> candidates(items.count());
  for (std::size_t i = 0; i < candidates.size(); ++i) candidates[i] = i;
  const Cut vertical = cutAxis(items, candidates, &PixelRect::top, &PixelRect::bottom,
                               std::max<std::int64_t>(maxHeight, 1), rowKept(layout),
                               anchorMiddle(layout));
  const Cut horizontal = cutAxis(items, candidates, &PixelRect::left, &PixelRect::right,
                                 widthLimit(maxWidth), columnKept(layout), anchorCentre(layout));
  for (const std::size_t item : candidates) include(ink.total, ink.any, items.measure(item));
  if (!ink.any) return ink;
  // An axis that was cut keeps the cut, not the ink left in it: the window is the same as
  // if everything outside had been built.
  if (vertical.cut) {
    ink.total.top = vertical.low;
    ink.total.bottom = vertical.high;
  }
  if (horizontal.cut) {
    ink.total.left = horizontal.low;
    ink.total.right = horizontal.high;
  }
  return ink;
}

PixelRect canvasWindow(const FullLayout& layout, const LayoutInk& ink, std::uint32_t maxWidth,
                       std::uint32_t maxHeight) {
  if (!ink.any) return PixelRect{layout.anchor.left, layout.anchor.top, layout.anchor.left + 1,
                                 layout.anchor.top + 1};
  PixelRect window = ink.total;
  limit(window.left, window.right, widthLimit(maxWidth), columnKept(layout), anchorCentre(layout));
  limit(window.top, window.bottom, std::max<std::int64_t>(maxHeight, 1), rowKept(layout),
        anchorMiddle(layout));
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
