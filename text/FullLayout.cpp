#include "text/FullLayout.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include <unicode/uchar.h>

#include "text/BidiParagraph.h"
#include "text/Itemization.h"
#include "text/LineWrapping.h"
#include "text/SubPixel.h"

namespace Orb {

namespace {

// The classic outline at 1080p: radius strokeRadius(49) at size 49.
constexpr std::int64_t kReferenceRadius = 149;
constexpr std::int64_t kReferenceSize = 49;

// 26.6 to whole pixels, rounded to nearest (halves up), for negative values too.
std::int32_t toPixels(std::int64_t value) {
  const std::int64_t shifted = value + 32;
  return static_cast<std::int32_t>(shifted >= 0 ? shifted / 64 : -((-shifted + 63) / 64));
}


// Where the image of a glyph with outline `extent` can lie, in pixels from its origin (y
// downwards): the outline's box turned by `transform`, widened by the stroke, rounded
// outwards, and a pixel more on every side for the rounding of scaled outlines. The
// stroke's round joins are Bezier arcs whose control points, which the bitmap spans, reach
// about a tenth of the radius beyond it: half the radius more keeps clear of that.
PixelRect reachOf(const GlyphExtent& extent, const FT_Matrix& transform, FT_Fixed strokeRadius) {
  if (!extent.bounded) return PixelRect{};
  strokeRadius += strokeRadius / 2;
  std::int64_t left = 0, right = 0, top = 0, bottom = 0;
  bool first = true;
  const bool upright = transform.xx == 0x10000 && transform.xy == 0 && transform.yx == 0 &&
                       transform.yy == 0x10000;
  for (const FT_Pos x : {extent.left, extent.right}) {
    for (const FT_Pos y : {extent.bottom, extent.top}) {
      const std::int64_t tx = upright ? x : FT_MulFix(x, transform.xx) + FT_MulFix(y, transform.xy);
      const std::int64_t ty = upright ? y : FT_MulFix(x, transform.yx) + FT_MulFix(y, transform.yy);
      left = first ? tx : std::min(left, tx);
      right = first ? tx : std::max(right, tx);
      bottom = first ? ty : std::min(bottom, ty);
      top = first ? ty : std::max(top, ty);
      first = false;
    }
  }
  return PixelRect{floorPixels(left - strokeRadius) - 1, -ceilPixels(top + strokeRadius) - 1,
                   ceilPixels(right + strokeRadius) + 1, -floorPixels(bottom - strokeRadius) + 1};
}

// Lines are spaced by the largest of what their runs' fonts ask for.
void widen(FontMetrics& line, const FontMetrics& run) {
  line.ascender = std::max(line.ascender, run.ascender);
  line.descender = std::max(line.descender, run.descender);
  line.lineGap = std::max(line.lineGap, run.lineGap);
}

// What lines under or through consecutive glyphs must share to be drawn as one.
struct DecorationKey {
  const TextStyle* style = nullptr;
  const FontRecord* font = nullptr;

  bool decorated() const { return style->underline || style->strikeOut; }
  bool continues(const DecorationKey& other) const {
    return font == other.font && style->size == other.style->size &&
           style->underline == other.style->underline &&
           style->strikeOut == other.style->strikeOut && style->fill == other.style->fill &&
           style->outline == other.style->outline;
  }
};

// One glyph on a line before the lines are stacked: 26.6, x from the line's start, y
// from its baseline, downwards.
struct DraftGlyph {
  GlyphRequest glyph;
  std::int64_t x = 0;
  std::int64_t y = 0;
  GlyphPaint paint;
  std::size_t character = 0;
  PixelRect reach;  // pixels from its origin, y downwards
};

// A line before the lines are stacked and aligned; decorations' tops from the baseline.
struct DraftLine {
  FullLine text;
  std::vector<DraftGlyph> glyphs;
  std::vector<Decoration> decorations;
  std::int64_t width = 0;
  FontMetrics metrics;
  // The horizontal extent of its outlines (its advances when it has none), by which it is
  // aligned: lines look centred when their ink is, whatever their letters' side bearings.
  std::int64_t inkLeft = 0;
  std::int64_t inkRight = 0;
  bool inked = false;

  void includeInk(std::int64_t left, std::int64_t right) {
    if (right <= left) return;
    inkLeft = inked ? std::min(inkLeft, left) : left;
    inkRight = inked ? std::max(inkRight, right) : right;
    inked = true;
  }
};

class ParagraphLayout {
 public:
  ParagraphLayout(const StyledText& styled, const ResolvedFonts& resolved, Shaper& shaping,
                  LineBreaks& breaking, std::vector<DraftLine>& out)
      : text(styled), fonts(resolved), shaper(shaping), lineBreaks(breaking), lines(out) {}

  // Lays out [begin, end) of the text, one paragraph, in lines of at most `maxWidth`.
  void layOut(std::size_t begin, std::size_t end, std::int64_t maxWidth) {
    if (begin == end) {
      emptyLine(begin);
      return;
    }
    const std::u32string_view paragraph(text.text.data() + begin, end - begin);
    const BidiParagraph bidi(paragraph);
    runs = itemize(text, fonts, begin, end, bidi);
    glyphs = shaper.shape(text.text, begin, end, runs);
    runMetrics.clear();
    for (const ShapingRun& run : runs) runMetrics.push_back(shaper.metrics(*run.font, run.size));
    paragraphBegin = begin;
    indexClusters(end - begin);
    const WrapInput input = wrapInput(paragraph);
    for (const WrappedLine& wrapped : wrapBalanced(input, maxWidth)) {
      placeLine(bidi, begin + wrapped.visibleBegin, begin + wrapped.visibleEnd);
    }
  }

 private:
  // A paragraph with nothing in it still takes a line, spaced by the style it is in.
  void emptyLine(std::size_t at) {
    DraftLine line;
    line.text = FullLine{at, at};
    const std::size_t styledAt = at < text.text.size() ? at : at - 1;
    const TextStyle& style = styledRunAt(text, styledAt).style;
    line.metrics = shaper.metrics(*fonts.ofRequest[style.font], style.size);
    lines.push_back(std::move(line));
  }

  WrapInput wrapInput(std::u32string_view paragraph) {
    WrapInput input;
    input.advances.assign(paragraph.size(), 0);
    input.clusterStarts.assign(paragraph.size(), false);
    for (const ShapedGlyph& glyph : glyphs) {
      input.advances[glyph.cluster - paragraphBegin] += glyph.advance;
      input.clusterStarts[glyph.cluster - paragraphBegin] = true;
    }
    input.breaks = lineBreaks.find(paragraph);
    input.whitespace.resize(paragraph.size());
    for (std::size_t i = 0; i < paragraph.size(); ++i) {
      input.whitespace[i] = u_isUWhiteSpace(static_cast<UChar32>(paragraph[i]));
    }
    return input;
  }

  // Where each code point's glyphs start in `glyphs` (clusters never decrease there).
  void indexClusters(std::size_t length) {
    firstGlyph.assign(length + 1, glyphs.size());
    for (std::size_t g = glyphs.size(); g-- > 0;) firstGlyph[glyphs[g].cluster - paragraphBegin] = g;
  }

  // The glyphs whose clusters start at `cluster`, as [first, last) of `glyphs`.
  std::pair<std::size_t, std::size_t> glyphsOf(std::size_t cluster) const {
    const std::size_t first = firstGlyph[cluster - paragraphBegin];
    std::size_t last = first;
    while (last < glyphs.size() && glyphs[last].cluster == cluster) ++last;
    return {first, last};
  }

  void placeLine(const BidiParagraph& bidi, std::size_t begin, std::size_t end) {
    DraftLine line;
    line.text = FullLine{begin, end};
    line.glyphs.reserve(end - begin);  // about a glyph per code point
    std::vector<bool> placedCluster(end - begin, false);
    std::int64_t pen = 0;
    DecorationKey span;
    std::int64_t spanStart = 0;
    for (const std::size_t relative : bidi.visualOrder(begin - paragraphBegin, end - paragraphBegin)) {
      const std::size_t at = paragraphBegin + relative;
      const auto [first, last] = glyphsOf(at);
      if (first == last || placedCluster[at - begin]) continue;
      placedCluster[at - begin] = true;
      const ShapingRun& run = runs[glyphs[first].run];
      const TextStyle& style = styledRunAt(text, at).style;
      const DecorationKey key{&style, run.font};
      if (span.style != nullptr && !span.continues(key)) {
        decorate(line, span, spanStart, pen);
        span = DecorationKey{};
      }
      if (span.style == nullptr) {
        span = key;
        spanStart = pen;
      }
      widen(line.metrics, runMetrics[glyphs[first].run]);
      // A right-to-left cluster's glyphs are kept in logical order; drawn, they go back.
      const bool backwards = run.level % 2 != 0;
      GlyphRequest request{run.font->face.get(), run.size, run.font->transform,
                           run.font->loadFlags | static_cast<FT_Int32>(FT_LOAD_NO_HINTING),
                           0, true, proportionalStrokeRadius(run.size), true};
      const GlyphPaint paint{style.fill, style.outline};
      for (std::size_t k = 0; k < last - first; ++k) {
        const ShapedGlyph& shaped = glyphs[backwards ? last - 1 - k : first + k];
        const std::int64_t x = pen + shaped.xOffset;
        const GlyphExtent& extent = shaped.extent;
        line.includeInk(x + extent.left, x + extent.right);
        request.glyph = shaped.glyph;
        line.glyphs.push_back(DraftGlyph{request, x, -shaped.yOffset, paint, at,
                                         reachOf(extent, request.transform, request.strokeRadius)});
        pen += shaped.advance;
      }
    }
    if (span.style != nullptr) decorate(line, span, spanStart, pen);
    line.width = pen;
    if (!line.inked) line.includeInk(0, pen);
    if (line.glyphs.empty()) {
      const TextStyle& style = styledRunAt(text, begin < text.text.size() ? begin : begin - 1).style;
      line.metrics = shaper.metrics(*fonts.ofRequest[style.font], style.size);
    }
    lines.push_back(std::move(line));
  }

  // The underline and strike-out of `span`, drawn under or through [from, to) of the line.
  void decorate(DraftLine& line, const DecorationKey& span, std::int64_t from, std::int64_t to) {
    if (!span.decorated() || to <= from) return;
    line.includeInk(from, to);
    const FontMetrics metrics = shaper.metrics(*span.font, span.style->size);
    Decoration decoration;
    decoration.left = from;
    decoration.width = to - from;
    decoration.strokeRadius = proportionalStrokeRadius(span.style->size);
    decoration.paint.fill = span.style->fill;
    decoration.paint.outline = span.style->outline;
    if (span.style->underline) {
      decoration.top = metrics.underlineOffset;
      decoration.height = metrics.underlineThickness;
      line.decorations.push_back(decoration);
    }
    if (span.style->strikeOut) {
      decoration.top = -metrics.strikeOutOffset;
      decoration.height = metrics.strikeOutThickness;
      line.decorations.push_back(decoration);
    }
  }

  const StyledText& text;
  const ResolvedFonts& fonts;
  Shaper& shaper;
  LineBreaks& lineBreaks;
  std::vector<DraftLine>& lines;
  std::vector<ShapingRun> runs;
  std::vector<ShapedGlyph> glyphs;
  std::vector<FontMetrics> runMetrics;   // per run
  std::vector<std::size_t> firstGlyph;  // per code point of the paragraph, and one past
  std::size_t paragraphBegin = 0;
};

// Where `line` starts in a block of `blockWidth`, by the alignment's column: its ink flush
// left, flush right or centred.
std::int64_t lineStart(std::uint32_t alignment, std::int64_t blockWidth, const DraftLine& line) {
  switch ((alignment - 1) % 3) {
    case 0: return -line.inkLeft;
    case 2: return blockWidth - line.inkRight;
    default: return (blockWidth - (line.inkRight - line.inkLeft)) / 2 - line.inkLeft;
  }
}

}  // namespace

FT_Fixed proportionalStrokeRadius(std::int32_t size) {
  return static_cast<FT_Fixed>((std::int64_t{size} * kReferenceRadius + kReferenceSize / 2) /
                               kReferenceSize);
}

FullLayout FullLayoutEngine::layOut(const StyledText& text, const ResolvedFonts& fonts,
                                    std::uint32_t maxWidth, std::uint32_t alignment) {
  FullLayout layout;
  layout.alignment =
      text.alignment && isAlignment(static_cast<std::uint32_t>(*text.alignment))
          ? static_cast<std::uint32_t>(*text.alignment)
          : isAlignment(alignment) ? alignment : kBottomCentre;
  const std::size_t length = std::min(text.text.size(), kFullCharacterLimit);
  if (length == 0) return layout;

  std::vector<DraftLine> drafts;
  ParagraphLayout paragraphs(text, fonts, shaper, lineBreaks, drafts);
  for (std::size_t begin = 0;;) {
    const std::size_t end = std::min(text.text.find(U'\n', begin), length);
    paragraphs.layOut(begin, end, std::int64_t{maxWidth} * 64);
    if (end >= length) break;
    begin = end + 1;
  }

  std::size_t glyphCount = 0;
  std::size_t decorationCount = 0;
  for (const DraftLine& line : drafts) {
    glyphCount += line.glyphs.size();
    decorationCount += line.decorations.size();
  }
  layout.glyphs.reserve(glyphCount);
  layout.decorations.reserve(decorationCount);
  std::int64_t blockWidth = 0;
  for (const DraftLine& line : drafts) blockWidth = std::max(blockWidth, line.inkRight - line.inkLeft);
  std::int64_t baseline = 0;
  for (std::size_t i = 0; i < drafts.size(); ++i) {
    const DraftLine& line = drafts[i];
    if (i == 0) {
      baseline = line.metrics.ascender;
    } else {
      const FontMetrics& above = drafts[i - 1].metrics;
      baseline += above.descender + std::max(above.lineGap, line.metrics.lineGap) +
                  line.metrics.ascender;
    }
    const std::int32_t baselinePixels = toPixels(baseline);
    const std::int64_t start = lineStart(layout.alignment, blockWidth, line);
    for (const DraftGlyph& draft : line.glyphs) {
      const std::int32_t x = toPixels(start + draft.x);
      const std::int32_t y = baselinePixels + toPixels(draft.y);
      PixelRect reach = draft.reach;
      if (reach.right > reach.left) reach = PixelRect{x + reach.left, y + reach.top, x + reach.right, y + reach.bottom};
      layout.glyphs.push_back(PositionedGlyph{draft.glyph, x, y, draft.paint, i, draft.character, reach});
    }
    for (Decoration decoration : line.decorations) {
      decoration.left += start;
      decoration.top += std::int64_t{baselinePixels} * 64;
      decoration.line = i;
      layout.decorations.push_back(decoration);
    }
    FullLine placed = line.text;
    placed.left = toPixels(start + line.inkLeft);
    placed.right = toPixels(start + line.inkRight);
    layout.lines.push_back(placed);
  }
  layout.anchor = TextBox{0, 0, static_cast<std::int32_t>(ceilPixels(blockWidth)),
                          toPixels(baseline + drafts.back().metrics.descender)};
  return layout;
}

}  // namespace Orb
