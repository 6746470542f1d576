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
#include "text/ShapedGlyph.h"
#include "text/WordShapes.h"

namespace Orb {

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
  /// turned round, so that clusters never decrease. A run made only of words shaped before
  /// (see WordShapes) is put together from them.
  std::vector<ShapedGlyph> shape(std::u32string_view text, std::size_t paragraphBegin,
                                 std::size_t paragraphEnd, const std::vector<ShapingRun>& runs);

  /// Whether shaped words are kept for later lines (they are at first); turned off, every
  /// run is shaped whole, as a renderer without caches does.
  void keepWords(bool keep) { words.limit(keep ? WordShapes::kWordsKept : 0); }

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
  // Appends the glyphs of `run`, the `index`th, from HarfBuzz, and keeps its words that
  // HarfBuzz says are shaped alike in any other line.
  void shapeRun(std::u32string_view paragraph, std::size_t paragraphBegin, const ShapingRun& run,
                std::size_t index, KeptFont& kept, std::vector<ShapedGlyph>& glyphs);
  // Appends the glyphs of `run` from its kept words; false, appending nothing, unless every
  // one is kept.
  bool reuseWords(std::u32string_view paragraph, std::size_t paragraphBegin, const ShapingRun& run,
                  std::size_t index, const KeptFont& kept, std::vector<ShapedGlyph>& glyphs) const;

  hb_buffer_t* buffer;
  WordShapes words;
  std::vector<bool> concatUnsafe;  // per glyph of the run last shaped, in logical order
  std::list<KeptFace> faces;  // most recently used first
  std::list<KeptFont> fonts;  // most recently used first
};

}  // namespace Orb
