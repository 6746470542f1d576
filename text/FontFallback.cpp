#include "text/FontFallback.h"

#include <unicode/uchar.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace Orb {

namespace {

constexpr std::size_t kNoFont = static_cast<std::size_t>(-1);

bool hasUnicodeMap(const FontRecord& font) {
  const FT_CharMap map = font.face->handle()->charmap;
  return map != nullptr && map->encoding == FT_ENCODING_UNICODE;
}

bool hasCharacter(const FontRecord& font, char32_t codePoint) {
  return font.face->hasCharacter(codePoint);
}

// Characters no face is sought for: they draw nothing of their own.
bool isInvisible(char32_t codePoint) {
  const auto c = static_cast<UChar32>(codePoint);
  return u_charType(c) == U_CONTROL_CHAR || u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
}

bool extendsCluster(char32_t codePoint) {
  return u_hasBinaryProperty(static_cast<UChar32>(codePoint), UCHAR_GRAPHEME_EXTEND);
}

bool drawsAlike(const FontRecord& a, const FontRecord& b) {
  return a.face == b.face && a.loadFlags == b.loadFlags && a.transform.xx == b.transform.xx &&
         a.transform.xy == b.transform.xy && a.transform.yx == b.transform.yx &&
         a.transform.yy == b.transform.yy;
}

class Fallback {
 public:
  Fallback(ResolvedFonts& resolved, FaceResolver& faceResolver,
           const std::shared_ptr<const FontRecord>& embeddedFont)
      : fonts(resolved), resolver(faceResolver), embedded(embeddedFont) {}

  // The font index that draws `codePoint` for text whose run draws with `run`, or
  // kNoFont when no face has it.
  std::size_t fontWith(char32_t codePoint, const FontRecord& run) {
    const std::uint64_t key = (std::uint64_t{codePoint} << 2) | (run.bold ? 2u : 0u) | (run.italic ? 1u : 0u);
    const auto known = answers.find(key);
    if (known != answers.end()) return known->second;
    std::size_t font = kNoFont;
    if (embedded && embedded.get() != &run && hasCharacter(*embedded, codePoint)) {
      font = indexOf(embedded);
    } else if (lookupsLeft > 0) {
      --lookupsLeft;
      auto record = std::make_shared<FontRecord>();
      record->bold = run.bold;
      record->italic = run.italic;
      if (resolver.resolveCharacter(*record, codePoint)) font = indexOf(std::move(record));
    } else {
      return kNoFont;  // not remembered: a later subtitle may look it up
    }
    answers.emplace(key, font);
    return font;
  }

 private:
  // The index of a font that draws like `font`, appending it when none does yet.
  std::size_t indexOf(std::shared_ptr<const FontRecord> font) {
    for (std::size_t i = fonts.ofRequest.size(); i-- > added;) {
      const FontRecord& other = *fonts.ofRequest[i];
      if (drawsAlike(other, *font)) return i;
    }
    fonts.ofRequest.push_back(std::move(font));
    return fonts.ofRequest.size() - 1;
  }

  ResolvedFonts& fonts;
  FaceResolver& resolver;
  std::shared_ptr<const FontRecord> embedded;
  const std::size_t added = fonts.ofRequest.size();  // fonts from here on are fallbacks
  std::unordered_map<std::uint64_t, std::size_t> answers;
  std::size_t lookupsLeft = FontFallbackLimits::kLookupsPerSubtitle;
};

// Appends [begin, end) of `run` drawn with `font` to `runs`.
void appendPiece(std::vector<StyledRun>& runs, const StyledRun& run, std::size_t begin,
                 std::size_t end, std::size_t font) {
  if (begin == end) return;
  StyledRun piece = run;
  piece.begin = begin;
  piece.end = end;
  piece.style.font = font;
  runs.push_back(piece);
}

}  // namespace

void applyFontFallback(StyledText& text, ResolvedFonts& fonts, FaceResolver& resolver,
                       const std::shared_ptr<const FontRecord>& embedded,
                       std::size_t characterLimit) {
  Fallback fallback(fonts, resolver, embedded);
  std::vector<StyledRun> runs;
  runs.reserve(text.runs.size());
  for (const StyledRun& run : text.runs) {
    const std::size_t own = run.style.font;
    // Copied: the fonts may grow while the run is walked.
    const std::shared_ptr<const FontRecord> runFont = fonts.ofRequest[own];
    if (!hasUnicodeMap(*runFont) || run.begin >= characterLimit) {
      runs.push_back(run);
      continue;
    }
    std::size_t pieceFont = own;
    std::size_t pieceBegin = run.begin;
    for (std::size_t i = run.begin; i < run.end; ++i) {
      const char32_t c = text.text[i];
      std::size_t font = own;
      if (i >= characterLimit) {
        // past what the layout takes: the run's own face
      } else if (pieceFont != own && extendsCluster(c) && hasCharacter(*fonts.ofRequest[pieceFont], c)) {
        font = pieceFont;
      } else if (!hasCharacter(*runFont, c)) {
        if (isInvisible(c)) {
          font = pieceFont;
        } else {
          const std::size_t found = fallback.fontWith(c, *runFont);
          if (found != kNoFont) font = found;
        }
      }
      if (font != pieceFont) {
        appendPiece(runs, run, pieceBegin, i, pieceFont);
        pieceFont = font;
        pieceBegin = i;
      }
    }
    appendPiece(runs, run, pieceBegin, run.end, pieceFont);
  }
  text.runs = std::move(runs);
}

}  // namespace Orb
