#pragma once
// Any FreeType bitmap as one byte of coverage per pixel. Embedded strikes come in 1, 2, 4
// and 8 bits per pixel, colour and LCD modes, and with upward or downward flow: reading
// them all as 8-bit rows would run past their buffers, so every bitmap goes through here.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace Orb {

class GreyBitmap {
 public:
  /// Converts `source` (not modified, not kept) to 0..255 coverage, rows top first and
  /// `width` bytes apart. False when FreeType cannot convert its pixel mode.
  bool convert(FT_Library library, const FT_Bitmap& source);

  std::uint32_t width() const { return columns; }
  std::uint32_t height() const { return rows; }
  /// True when the source was 1 bit per pixel (the glyph then has no separate fill pass).
  bool fromMono() const { return mono; }
  std::uint8_t at(std::uint32_t row, std::uint32_t column) const {
    return pixels[static_cast<std::size_t>(row) * columns + column];
  }

 private:
  std::vector<std::uint8_t> pixels;
  std::uint32_t columns = 0;
  std::uint32_t rows = 0;
  bool mono = false;
};

}  // namespace Orb
