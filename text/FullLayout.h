#pragma once
// The full layout: what viewers in every language expect of a subtitle. Each paragraph
// (the text between line feeds) is given its bidirectional levels, cut into runs, shaped
// as a whole, and wrapped at Unicode line break opportunities into balanced lines; each
// line is put into visual order and aligned on its own, and lines are spaced by their
// fonts' metrics. Underline and strike-out follow the runs they belong to, in visual order.
// Positions are in layout pixels: x from the left of the widest line, y from the top of
// the first line, downwards.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "text/Compositor.h"
#include "text/FontResolution.h"
#include "text/GlyphImage.h"
#include "text/LaidOutText.h"
#include "text/LineBreaks.h"
#include "text/Shaper.h"
#include "text/StyledText.h"

namespace Orb {

/// Code points the full layout takes from one subtitle: far more than any frame can show
/// (a 4K frame holds a few thousand at the smallest readable size), few enough that a
/// megabyte of text without a break costs milliseconds, not seconds.
constexpr std::size_t kFullCharacterLimit = 16384;

/// The outline radius (26.6) of the full layout at pixel size `size`: the classic
/// outline's at 1080p (size 49) as a share of the size, so that it looks the same at any.
FT_Fixed proportionalStrokeRadius(std::int32_t size);

struct PositionedGlyph {
  GlyphRequest glyph;
  std::int32_t x = 0;  ///< its origin on the baseline, layout pixels
  std::int32_t y = 0;
  GlyphPaint paint;    ///< colours; lines are decorations of their own
  std::size_t line = 0;
  std::size_t character = 0;  ///< first code point of its cluster, in StyledText::text
  /// Where its image can lie, layout pixels, from its outline's extent: known before the
  /// image is built. Empty when only building it tells.
  PixelRect reach;
};

/// An underline or strike-out: a rectangle (26.6, layout pixels) outlined like the glyphs.
struct Decoration {
  FT_Pos left = 0;
  FT_Pos top = 0;
  FT_Pos width = 0;
  FT_Pos height = 0;
  FT_Fixed strokeRadius = 0;
  GlyphPaint paint;
  std::size_t line = 0;
};

/// The code points [begin, end) of StyledText::text shown on one line, without the
/// whitespace it was broken after.
struct FullLine {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::int32_t left = 0;   ///< where its outlines start, layout pixels
  std::int32_t right = 0;  ///< and where they end (its advances, when it has no outlines)
};

struct FullLayout {
  std::vector<PositionedGlyph> glyphs;
  std::vector<Decoration> decorations;
  std::vector<FullLine> lines;
  /// The lines' box, layout pixels: as wide as the widest line's outlines, from the top
  /// of the first line to the bottom of the last by the fonts' metrics.
  TextBox anchor;
  std::uint32_t alignment = kBottomCentre;
};

class FullLayoutEngine {
 public:
  /// Lays `text` out in lines no wider than `maxWidth` pixels where words allow, aligned
  /// by the column of `alignment` (or of the subtitle's own, when it has one).
  FullLayout layOut(const StyledText& text, const ResolvedFonts& fonts, std::uint32_t maxWidth,
                    std::uint32_t alignment);

  /// See Shaper::keepWords.
  void keepShapedWords(bool keep) { shaper.keepWords(keep); }

 private:
  Shaper shaper;
  LineBreaks lineBreaks;
};

}  // namespace Orb
