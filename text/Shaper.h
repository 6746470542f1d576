#pragma once
// Shaping by HarfBuzz: each run of a paragraph is shaped with the whole paragraph as
// context, so that joining and kerning see the neighbours across run boundaries. Also the
// fonts' own metrics at a size (line spacing, underline and strike-out), as HarfBuzz reads
// them from the font's tables.
#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <hb.h>

#include "text/FontRecord.h"
#include "text/Itemization.h"

namespace Orb {

/// Where a glyph's outline lies around its origin, 26.6 pixels, y upwards.
struct GlyphExtent {
  std::int32_t left = 0;
  std::int32_t right = 0;
  std::int32_t top = 0;
  std::int32_t bottom = 0;
  /// False when the image drawn may lie elsewhere: no scalable outline, or an embedded
  /// bitmap strike near the size that FreeType may pick instead of the outline.
  bool bounded = false;
};

/// One glyph as shaping gave it. Positions are 26.6 pixels, y upwards.
struct ShapedGlyph {
  std::uint32_t glyph = 0;   ///< index in the face of its run
  std::size_t cluster = 0;   ///< first code point of its cluster, in StyledText::text
  std::int32_t advance = 0;  ///< horizontal
  std::int32_t xOffset = 0;
  std::int32_t yOffset = 0;
  std::size_t run = 0;  ///< index of its ShapingRun
  GlyphExtent extent;   ///< of its outline
};

/// A face's metrics at one size, 26.6 pixels; distances below the baseline are positive
/// `descender`, `underlineOffset`, distances above it positive `ascender`, `strikeOutOffset`.
struct FontMetrics {
  std::int32_t ascender = 0;
  std::int32_t descender = 0;
  std::int32_t lineGap = 0;
  std::int32_t underlineOffset = 0;  ///< to the top of the underline
  std::int32_t underlineThickness = 0;
  std::int32_t strikeOutOffset = 0;  ///< to the top of the strike-out
  std::int32_t strikeOutThickness = 0;
};


class Shaper {
 public:
  /// HarfBuzz fonts (a face at a size) kept between subtitles; the least recently used go.
  static constexpr std::size_t kFontsKept = 32;
  /// HarfBuzz faces, each shared by the fonts made from it at every size, kept likewise.
  static constexpr std::size_t kFacesKept = 16;
  /// Glyph extents remembered per kept font; beyond this they are forgotten and asked again.
  static constexpr std::size_t kExtentsKept = 4096;

  Shaper();
  ~Shaper();
  Shaper(const Shaper&) = delete;
  Shaper& operator=(const Shaper&) = delete;

  /// Shapes `runs` (of one paragraph, [paragraphBegin, paragraphEnd) of `text`) and answers
  /// their glyphs in logical order: runs in order, and within a right-to-left run the glyphs
  /// turned round, so that clusters never decrease.
  std::vector<ShapedGlyph> shape(std::u32string_view text, std::size_t paragraphBegin,
                                 std::size_t paragraphEnd, const std::vector<ShapingRun>& runs);

  /// The metrics of `font`'s face at pixel size `size`.
  FontMetrics metrics(const FontRecord& font, std::int32_t size);

 private:
  // A HarfBuzz font with what has been asked of it: metrics and glyph extents read from
  // the font's tables cost more than the subtitle's use of them.
  struct KeptFont {
    std::uint64_t faceSerial;
    std::int32_t size;
    hb_font_t* font;
    std::optional<FontMetrics> metrics;
    std::unordered_map<std::uint32_t, GlyphExtent> extents;
  };
  struct KeptFace {
    std::uint64_t faceSerial;
    hb_face_t* face;
  };
  hb_face_t* faceFor(const SharedFace& face);
  KeptFont& fontFor(const SharedFace& face, std::int32_t size);
  // The extent of `glyph` in `font` at the size `kept` was made for.
  static GlyphExtent extentIn(KeptFont& kept, const FontRecord& font, std::uint32_t glyph);

  hb_buffer_t* buffer;
  std::list<KeptFace> faces;  // most recently used first
  std::list<KeptFont> fonts;  // most recently used first
};

}  // namespace Orb
