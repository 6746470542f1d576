#pragma once
// Which characters a face has, read from its Unicode character map in pages of 256 code
// points: the unit the face index stores and looks characters up by.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdint>
#include <vector>

namespace Orb {

/// One page of a face's coverage: code point c is covered when bit (c % 64) of
/// bits[(c % 256) / 64] is set, where c / 256 is `page`.
struct CoveragePage {
  std::int64_t page = 0;
  std::array<std::uint64_t, 4> bits{};
};

/// The page of `codePoint` and where its bit lies there.
struct CoverageBit {
  std::int64_t page = 0;
  int word = 0;  ///< 0..3
  int bit = 0;   ///< 0..63
};
CoverageBit CoverageBitOf(char32_t codePoint);

/// The pages of `face` (not null) holding at least one code point its Unicode character
/// map gives a glyph for, in ascending order; empty when the face has no Unicode map.
/// Code points beyond U+10FFFF are not recorded.
std::vector<CoveragePage> ReadCoverage(FT_Face face);

}  // namespace Orb
