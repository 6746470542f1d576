#include "fontcache/FaceCoverage.h"

namespace Orb {

namespace {
constexpr FT_ULong kLastCodePoint = 0x10FFFF;
}

CoverageBit CoverageBitOf(char32_t codePoint) {
  return CoverageBit{static_cast<std::int64_t>(codePoint >> 8), static_cast<int>((codePoint >> 6) & 3),
                     static_cast<int>(codePoint & 63)};
}

std::vector<CoveragePage> ReadCoverage(FT_Face face) {
  std::vector<CoveragePage> pages;
  if (!face->charmap || face->charmap->encoding != FT_ENCODING_UNICODE) return pages;
  FT_UInt glyph = 0;
  FT_ULong codePoint = FT_Get_First_Char(face, &glyph);
  while (glyph != 0 && codePoint <= kLastCodePoint) {
    const CoverageBit at = CoverageBitOf(static_cast<char32_t>(codePoint));
    if (pages.empty() || pages.back().page != at.page) pages.push_back(CoveragePage{at.page, {}});
    pages.back().bits[at.word] |= std::uint64_t{1} << at.bit;
    const FT_ULong next = FT_Get_Next_Char(face, codePoint, &glyph);
    // The walk only ever climbs; a damaged map that says otherwise ends it.
    if (next <= codePoint) break;
    codePoint = next;
  }
  return pages;
}

}  // namespace Orb
