#include "text/Shaper.h"

#include <algorithm>

#include <ft2build.h>
#include FT_TRUETYPE_TABLES_H
#include <hb-ft.h>
#include <hb-ot.h>

#include "text/SharedShapingFaces.h"

namespace Orb {

namespace {

std::int32_t scaled(FT_Face face, FT_Long units, std::int32_t size) {
  return static_cast<std::int32_t>(FT_MulDiv(units, std::int64_t{size} * 64, face->units_per_EM));
}

// The underline from the post table, the strike-out from OS/2, as FreeType read them when it
// opened the face; HarfBuzz would copy in the whole post table, glyph names and all, to
// answer. A face without the tables gets lines an eighteenth of its size thick, the
// strike-out at half its ascender.
void readDecorations(FT_Face face, std::int32_t size, FontMetrics& m) {
  const auto* post = FT_IS_SCALABLE(face) && face->units_per_EM != 0
                         ? static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST))
                         : nullptr;
  const auto* os2 = post ? static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)) : nullptr;
  const std::int32_t fallback = size * 64 / 18;
  m.underlineThickness = post ? scaled(face, post->underlineThickness, size) : fallback;
  m.underlineOffset = post ? -scaled(face, post->underlinePosition, size) : fallback;
  const bool strikeOut = os2 && os2->version != 0xFFFF;
  m.strikeOutThickness = strikeOut ? scaled(face, os2->yStrikeoutSize, size) : m.underlineThickness;
  m.strikeOutOffset = strikeOut ? scaled(face, os2->yStrikeoutPosition, size) : m.ascender / 2;
  // Lines at least a pixel thick.
  m.underlineThickness = std::max(m.underlineThickness, 64);
  m.strikeOutThickness = std::max(m.strikeOutThickness, 64);
}

// Whether FreeType may draw `face` at `size` from an embedded bitmap strike, whose ink
// need not match the outline's.
bool hasStrikeNear(FT_Face face, std::int32_t size) {
  for (FT_Int i = 0; i < face->num_fixed_sizes; ++i) {
    const std::int64_t strike = (face->available_sizes[i].y_ppem + 32) / 64;
    if (strike >= size - 1 && strike <= size + 1) return true;
  }
  return false;
}

// Asked of FreeType in font units and scaled here, so that the face's size and transform
// stay as the glyph source left them. FreeType reads only this glyph's outline; HarfBuzz
// would read the whole glyph table into memory first, far more than a subtitle needs.
GlyphExtent outlineExtent(FT_Face face, std::int32_t size, std::uint32_t glyph) {
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return {};
  if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
    return {};
  }
  const FT_Glyph_Metrics& metrics = face->glyph->metrics;
  return GlyphExtent{scaled(face, metrics.horiBearingX, size),
                     scaled(face, metrics.horiBearingX + metrics.width, size),
                     scaled(face, metrics.horiBearingY, size),
                     scaled(face, metrics.horiBearingY - metrics.height, size),
                     !hasStrikeNear(face, size)};
}

}  // namespace

Shaper::Shaper() : buffer(hb_buffer_create()) {}

Shaper::~Shaper() {
  for (const KeptFont& kept : fonts) hb_font_destroy(kept.font);
  for (const KeptFace& kept : faces) hb_face_destroy(kept.face);
  hb_buffer_destroy(buffer);
}

hb_face_t* Shaper::faceFor(const SharedFace& face) {
  for (auto kept = faces.begin(); kept != faces.end(); ++kept) {
    if (kept->faceSerial == face.serial()) {
      faces.splice(faces.begin(), faces, kept);
      return kept->face;
    }
  }
  // One face for every size: its tables are copied in, and its shaping plans compiled,
  // once; for a font file once per process. Otherwise HarfBuzz reads the tables through
  // FreeType and keeps the face referenced.
  hb_face_t* shared = face.file() ? sharedShapingFace(*face.file(), static_cast<unsigned>(face.handle()->num_glyphs))
                                  : nullptr;
  faces.push_front(KeptFace{face.serial(), shared ? shared : hb_ft_face_create_referenced(face.handle())});
  if (faces.size() > kFacesKept) {
    hb_face_destroy(faces.back().face);  // fonts made from it keep their own reference
    faces.pop_back();
  }
  return faces.front().face;
}

Shaper::KeptFont& Shaper::fontFor(const SharedFace& face, std::int32_t size) {
  for (auto kept = fonts.begin(); kept != fonts.end(); ++kept) {
    if (kept->faceSerial == face.serial() && kept->size == size) {
      fonts.splice(fonts.begin(), fonts, kept);
      return fonts.front();
    }
  }
  // Positions come out in 26.6 pixels at this size, unhinted, whatever size FreeType's
  // face is set to.
  hb_font_t* font = hb_font_create(faceFor(face));
  hb_font_set_scale(font, size * 64, size * 64);
  hb_font_set_ppem(font, static_cast<unsigned>(size), static_cast<unsigned>(size));
  fonts.push_front(KeptFont{face.serial(), size, font, std::nullopt, {}});
  if (fonts.size() > kFontsKept) {
    hb_font_destroy(fonts.back().font);
    fonts.pop_back();
  }
  return fonts.front();
}

namespace {

WordShapes::Key wordKey(std::uint64_t faceSerial, const ShapingRun& run, std::u32string_view word) {
  return WordShapes::Key{faceSerial, run.size, run.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR,
                         run.script, word};
}

}  // namespace

std::vector<ShapedGlyph> Shaper::shape(std::u32string_view text, std::size_t paragraphBegin,
                                       std::size_t paragraphEnd,
                                       const std::vector<ShapingRun>& runs) {
  std::vector<ShapedGlyph> glyphs;
  const std::u32string_view paragraph = text.substr(paragraphBegin, paragraphEnd - paragraphBegin);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    KeptFont& kept = fontFor(*runs[r].font->face, runs[r].size);
    if (!reuseWords(paragraph, paragraphBegin, runs[r], r, kept, glyphs)) {
      shapeRun(paragraph, paragraphBegin, runs[r], r, kept, glyphs);
    }
  }
  return glyphs;
}

bool Shaper::reuseWords(std::u32string_view paragraph, std::size_t paragraphBegin,
                        const ShapingRun& run, std::size_t index, const KeptFont& kept,
                        std::vector<ShapedGlyph>& glyphs) const {
  const std::size_t first = glyphs.size();
  bool whole = true;
  WordShapes::forEachWord(paragraph, run.begin - paragraphBegin, run.end - paragraphBegin,
                          [&](std::size_t begin, std::size_t end) {
    if (!whole) return;
    const std::vector<ShapedGlyph>* shaped =
        WordShapes::standsAlone(paragraph, begin, end)
            ? words.find(wordKey(kept.faceSerial, run, paragraph.substr(begin, end - begin)))
            : nullptr;
    if (shaped == nullptr) {
      whole = false;
      return;
    }
    for (ShapedGlyph glyph : *shaped) {
      glyph.cluster += paragraphBegin + begin;
      glyph.run = index;
      glyphs.push_back(glyph);
    }
  });
  if (!whole) glyphs.resize(first);
  return whole;
}

void Shaper::shapeRun(std::u32string_view paragraph, std::size_t paragraphBegin,
                      const ShapingRun& run, std::size_t index, KeptFont& kept,
                      std::vector<ShapedGlyph>& glyphs) {
  hb_buffer_clear_contents(buffer);
  hb_buffer_set_flags(buffer, HB_BUFFER_FLAG_PRODUCE_UNSAFE_TO_CONCAT);
  hb_buffer_add_utf32(buffer, reinterpret_cast<const std::uint32_t*>(paragraph.data()),
                      static_cast<int>(paragraph.size()), static_cast<unsigned>(run.begin - paragraphBegin),
                      static_cast<int>(run.end - run.begin));
  const bool backwards = run.level % 2 != 0;
  hb_buffer_set_direction(buffer, backwards ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
  hb_buffer_set_script(buffer, run.script);
  hb_shape(kept.font, buffer, nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, nullptr);
  const std::size_t first = glyphs.size();
  concatUnsafe.assign(count, false);
  for (unsigned i = 0; i < count; ++i) {
    const unsigned at = backwards ? count - 1 - i : i;  // logical order
    glyphs.push_back(ShapedGlyph{infos[at].codepoint, paragraphBegin + infos[at].cluster,
                                 positions[at].x_advance, positions[at].x_offset,
                                 positions[at].y_offset, index,
                                 extentIn(kept, *run.font, infos[at].codepoint)});
    concatUnsafe[i] = (hb_glyph_info_get_glyph_flags(&infos[at]) & HB_GLYPH_FLAG_UNSAFE_TO_CONCAT) != 0;
  }
  // A word is kept when HarfBuzz marks neither its start nor the start of what follows it:
  // its glyphs are then the same beside any other text.
  const auto safeBoundary = [&](std::size_t g) {
    if (g == glyphs.size()) return true;
    for (std::size_t k = g; k < glyphs.size() && glyphs[k].cluster == glyphs[g].cluster; ++k) {
      if (concatUnsafe[k - first]) return false;
    }
    return true;
  };
  std::size_t g = first;
  WordShapes::forEachWord(paragraph, run.begin - paragraphBegin, run.end - paragraphBegin,
                          [&](std::size_t begin, std::size_t end) {
    const std::size_t from = g;
    while (g < glyphs.size() && glyphs[g].cluster < paragraphBegin + end) ++g;
    const bool sliced = from < g && glyphs[from].cluster == paragraphBegin + begin &&
                        (g == glyphs.size() || glyphs[g].cluster == paragraphBegin + end);
    if (!sliced || !words.wouldKeep(end - begin) ||
        !WordShapes::standsAlone(paragraph, begin, end) || (begin > 0 && !safeBoundary(from)) ||
        (end < paragraph.size() && !safeBoundary(g))) {
      return;
    }
    const WordShapes::Key key = wordKey(kept.faceSerial, run, paragraph.substr(begin, end - begin));
    if (words.find(key) != nullptr) return;
    std::vector<ShapedGlyph> shaped(glyphs.begin() + static_cast<std::ptrdiff_t>(from),
                                    glyphs.begin() + static_cast<std::ptrdiff_t>(g));
    for (ShapedGlyph& glyph : shaped) glyph.cluster -= paragraphBegin + begin;
    words.keep(key, std::move(shaped));
  });
}

FontMetrics Shaper::metrics(const FontRecord& font, std::int32_t size) {
  KeptFont& kept = fontFor(*font.face, size);
  if (kept.metrics) return *kept.metrics;
  hb_font_extents_t extents{};
  hb_font_get_h_extents(kept.font, &extents);
  FontMetrics m;
  m.ascender = extents.ascender;
  m.descender = -extents.descender;
  m.lineGap = std::max(extents.line_gap, 0);
  readDecorations(font.face->handle(), size, m);
  kept.metrics = m;
  return m;
}

GlyphExtent Shaper::extentIn(KeptFont& kept, const FontRecord& font, std::uint32_t glyph) {
  const auto known = kept.extents.find(glyph);
  if (known != kept.extents.end()) return known->second;
  if (kept.extents.size() >= kExtentsKept) kept.extents.clear();
  return kept.extents.emplace(glyph, outlineExtent(font.face->handle(), kept.size, glyph)).first->second;
}

}  // namespace Orb
